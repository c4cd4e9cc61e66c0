// Cursor moves step over whole UTF-8 characters, so the text never holds half of one.
#include "tui/name_editor.h"

#include "tui/utf8_text.h"

bool insertCharacter(NameEditor& editor, uint32_t codePoint) {
    if (isControlCodePoint(codePoint) || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    std::string encoded;
    appendUtf8(encoded, codePoint);
    if (editor.text.size() + encoded.size() > NAME_BYTE_LIMIT) return false;
    editor.text.insert(editor.cursor, encoded);
    editor.cursor += encoded.size();
    return true;
}

void moveCursorLeft(NameEditor& editor) {
    editor.cursor = previousCharacterStart(editor.text, editor.cursor);
}

void moveCursorRight(NameEditor& editor) {
    editor.cursor += utf8CharacterLength(editor.text, editor.cursor);
}

void moveCursorHome(NameEditor& editor) { editor.cursor = 0; }

void moveCursorEnd(NameEditor& editor) { editor.cursor = editor.text.size(); }

void deleteBeforeCursor(NameEditor& editor) {
    size_t start = previousCharacterStart(editor.text, editor.cursor);
    editor.text.erase(start, editor.cursor - start);
    editor.cursor = start;
}

void deleteAtCursor(NameEditor& editor) {
    editor.text.erase(editor.cursor, utf8CharacterLength(editor.text, editor.cursor));
}

std::string storedName(const NameEditor& editor) {
    return editor.text.empty() ? std::string("?") : editor.text;
}
