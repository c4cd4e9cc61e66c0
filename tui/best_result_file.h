// The terminal edition's best results: one small text file per adversary, apart from the
// Windows program's registry, in the form that model/session/best_result.h reads and
// writes, and beside each the game that set it, as a replay code.
#pragma once

#include <string>

#include "model/session/best_result.h"
#include "tui/kept_file.h"

// None when there is no file (or no home) or a file of another form; Unreadable when a
// file is there but cannot be read.
StoredResult readBestResultFile(const std::string& path, BestResult& result);

// The game that set a best result, kept beside it.
struct BestGameFile {
    std::string path;      // best-result[-ID].replay
    std::string code;      // the game's replay code
    bool written = false;  // set by a save that stored the result
};

// Replaces the file only when `result` beats the score stored at that moment (Beaten: a
// copy of the game running beside this one stored a better one meanwhile, which `stored`
// then receives); an unreadable file is never replaced. Saves take turns under the file's
// lock (tui/kept_file.h), which also covers the game's code: written after the result,
// with the same care, or removed when it cannot be, so that an older game never stands
// beside the new result. Missing folders are created, for the user alone.
SaveOutcome saveBestResult(const std::string& path, const BestResult& result,
                           BestGameFile* game = nullptr, BestResult* stored = nullptr,
                           int lockWaitMs = LOCK_WAIT_MS);
