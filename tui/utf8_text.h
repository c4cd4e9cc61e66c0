// UTF-8 as the terminal edition needs it: encoding typed characters, walking a name by
// whole characters and checking that stored text is valid and free of control characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Appends the code point's UTF-8 form; the caller passes only valid scalar values.
void appendUtf8(std::string& text, uint32_t codePoint);

// Length in bytes of the valid UTF-8 character that starts at text[at], or 0 when the
// bytes there are not one (a stray continuation, an overlong form, a surrogate, a cut end).
size_t utf8CharacterLength(const std::string& text, size_t at);

// C0 controls, DEL and the C1 range U+0080..U+009F.
bool isControlCodePoint(uint32_t codePoint);

// True when the whole text is valid UTF-8 without any control character.
bool isPrintableUtf8(const std::string& text);

// Start of the character before byte offset `at` (which lies on a character boundary).
size_t previousCharacterStart(const std::string& text, size_t at);
