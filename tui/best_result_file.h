// The terminal edition's best result: one small text file per user, apart from the Windows
// program's registry. Two lines: the score in decimal, then the champion's name in UTF-8.
#pragma once

#include <cstdint>
#include <string>

struct BestResult {
    int32_t score = 0;  // 0..2147483647
    std::string name;   // 1..1023 bytes of UTF-8 without control characters
};

// A file larger than this is not a best-result file.
constexpr long BEST_RESULT_FILE_LIMIT = 4096;

// Where the file lives: $XDG_DATA_HOME/kostrel/best-result when that is an absolute path,
// else <home>/.local/share/kostrel/best-result, the home folder taken from HOME when it is
// set and not empty, else from the password database. Empty when there is no home at all.
std::string bestResultPath(const char* xdgDataHome, const char* home, const char* passwordHome);
std::string bestResultPathForUser();  // from the environment and the password database

// True when the text has exactly the file's form; result is left alone otherwise.
bool parseBestResult(const std::string& content, BestResult& result);
std::string formatBestResult(const BestResult& result);

// False when the file is missing, unreadable, too large or of any other form: then there
// is no record and the stored score counts as 0.
bool readBestResultFile(const std::string& path, BestResult& result);

// Replaces the file atomically: a private temporary file in the same folder is written,
// flushed to disk and renamed over it, so a crash or a full disk leaves either the old file
// or the new one. Creates missing folders, readable only by the user. A result that does
// not have the file's form is not written.
bool writeBestResultFile(const std::string& path, const BestResult& result);
