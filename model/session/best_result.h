// The best result as the terminal and browser editions store it, apart from the Windows
// program's registry: two lines, the score in decimal and the champion's name in UTF-8,
// each ending in a line feed. Its form, and the characters a name may hold, are decided
// here alone, by the library's own UTF-8 decoder and character table, never by a C
// library's locale, so that every edition accepts and refuses the same names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct BestResult {
    int32_t score = 0;  // 0..2147483647
    std::string name;   // 1..NAME_BYTE_LIMIT bytes of allowed characters
};

constexpr size_t NAME_BYTE_LIMIT = 1023;
// The longest stored form: ten digits, the longest name and two line feeds.
constexpr size_t BEST_RESULT_TEXT_LIMIT = 10 + NAME_BYTE_LIMIT + 2;

// Letters, marks, numbers, punctuation, symbols, spaces and private-use characters of the
// table's Unicode version; no control, format character (Cf: it hides in text or turns the
// rest of a line around), surrogate, line or paragraph separator, or unassigned code point.
bool nameCharacterAllowed(uint32_t codePoint);

// The code point that starts at `at` in UTF-8 text, `at` moved past it; false, with `at`
// unchanged, for anything else: a cut or overlong sequence, a surrogate, or a value past
// U+10FFFF.
bool nextUtf8(const std::string& text, size_t& at, uint32_t& codePoint);
// Any value below 0x110000 in UTF-8's form, surrogates too (which nextUtf8 then refuses).
void appendUtf8(std::string& text, uint32_t codePoint);
// UTF-16 code units as UTF-8; false for a lone surrogate, which stands for no character.
bool utf8FromUtf16(const char16_t* units, size_t count, std::string& text);
std::u16string utf16FromUtf8(const std::string& text);  // of text that nextUtf8 reads whole

// What a name prompt may hold: allowed characters, at most NAME_BYTE_LIMIT bytes. It may be
// empty while the player types.
bool promptNameAllowed(const std::string& name);
// The name saved for what the prompt holds: an empty one is saved as "?".
std::string savedName(const std::string& typed);

// True when the text has exactly the stored form; result is left alone otherwise.
bool parseBestResult(const std::string& text, BestResult& result);
std::string formatBestResult(const BestResult& result);

enum class StoredResult {
    Found,
    None,        // nothing stored, or something of another form: no record, score 0
    Unreadable,  // something is stored but cannot be read: it may hold a record
};

// Whether a finished game's score is a new best result over what the store holds: above
// the stored score (0 when none), and never over a store that cannot be read.
bool isNewBestResult(int32_t score, StoredResult found, const BestResult& stored);

enum class SaveOutcome {
    Saved,
    Beaten,  // the store holds as high a score or higher, saved meanwhile by another copy
    Failed,  // the store cannot be read or written, or the result has not the stored form
};
// What saving `saved` must do to the store as it holds now: replace it (Saved), or leave it
// as it is. A store that cannot be read is never replaced: it may hold a higher record.
SaveOutcome saveOutcome(const BestResult& saved, StoredResult found, const BestResult& stored);
