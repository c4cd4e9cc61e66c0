// The one-line editor of the new-record prompt: UTF-8 text with a cursor that moves, and
// deletes, by whole characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The longest name the best-result file holds, in bytes.
constexpr size_t NAME_BYTE_LIMIT = 1023;

struct NameEditor {
    std::string text;   // always valid UTF-8 without control characters
    size_t cursor = 0;  // byte offset, always at the start of a character or at the end
};

// Inserts at the cursor; refuses control characters and anything that would make the name
// longer than NAME_BYTE_LIMIT bytes. Returns whether the character went in.
bool insertCharacter(NameEditor& editor, uint32_t codePoint);
void moveCursorLeft(NameEditor& editor);
void moveCursorRight(NameEditor& editor);
void moveCursorHome(NameEditor& editor);
void moveCursorEnd(NameEditor& editor);
void deleteBeforeCursor(NameEditor& editor);  // Backspace
void deleteAtCursor(NameEditor& editor);      // Delete

// The name as it is stored: an empty name is kept as "?".
std::string storedName(const NameEditor& editor);
