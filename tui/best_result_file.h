// The terminal edition's best result: one small text file per user, apart from the Windows
// program's registry. Two lines: the score in decimal, then the champion's name in UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct BestResult {
    int32_t score = 0;  // 0..2147483647
    std::string name;   // 1..NAME_BYTE_LIMIT bytes of allowed characters
};

constexpr size_t NAME_BYTE_LIMIT = 1023;

// Printable by the C library (no control, surrogate or noncharacter), and no Unicode
// format character (Cf), which hides in text or turns the rest of a line around.
bool nameCharacterAllowed(wchar_t character);
// Text and wide characters in the game's UTF-8 locale; text that is not UTF-8 (`valid`
// false) has no characters.
std::wstring wideText(const std::string& text, bool* valid = nullptr);
std::string utf8Text(const std::wstring& wide);

// $XDG_DATA_HOME/kostrel/best-result when that is absolute, else .local/share/kostrel/
// best-result in HOME when it is not empty, else in the password database's home.
std::string bestResultPath(const char* xdgDataHome, const char* home, const char* passwordHome);
std::string bestResultPathForUser();

// True when the text has exactly the file's form; result is left alone otherwise.
bool parseBestResult(const std::string& content, BestResult& result);
std::string formatBestResult(const BestResult& result);

enum class StoredResult {
    Found,
    None,        // no file (or no home), or a file of another form: no record, score 0
    Unreadable,  // a file is there but cannot be read: it may hold a record
};
StoredResult readBestResultFile(const std::string& path, BestResult& result);

// Replaces the file only when `result` beats the score stored at that moment (Beaten: a
// copy of the game running beside this one stored a better one meanwhile, which `stored`
// then receives); an unreadable
// file is never replaced. Saves take turns under an advisory lock on `<path>.lock`, and
// each first removes the temporary files of saves killed before their rename: while it
// holds the lock, no other copy is writing one. The new file is written beside the old
// one, flushed and renamed over it, so a crash or a full disk leaves either the old file
// or the new one. Missing folders are created, for the user alone. A lock held longer than
// LOCK_WAIT_MS (by a copy stopped mid-save) fails the save rather than hang the game.
constexpr int LOCK_WAIT_MS = 3000;
enum class SaveOutcome { Saved, Beaten, Failed };
SaveOutcome saveBestResult(const std::string& path, const BestResult& result,
                           BestResult* stored = nullptr);
