// The terminal edition's best result: one small text file per user, apart from the Windows
// program's registry, in the form that model/session/best_result.h reads and writes.
#pragma once

#include <string>

#include "model/session/best_result.h"

// $XDG_DATA_HOME/kostrel/best-result when that is absolute, else .local/share/kostrel/
// best-result in HOME when it is not empty, else in the password database's home.
std::string bestResultPath(const char* xdgDataHome, const char* home, const char* passwordHome);
std::string bestResultPathForUser();

// None when there is no file (or no home) or a file of another form; Unreadable when a
// file is there but cannot be read.
StoredResult readBestResultFile(const std::string& path, BestResult& result);

// Replaces the file only when `result` beats the score stored at that moment (Beaten: a
// copy of the game running beside this one stored a better one meanwhile, which `stored`
// then receives); an unreadable file is never replaced. Saves take turns under an advisory lock on
// `<path>.lock`, and each first removes the temporary files of saves killed before their rename:
// while it holds the lock, no other copy is writing one. The new file is written beside the old
// one, flushed and renamed over it, so a crash or a full disk leaves either the old file
// or the new one. Missing folders are created, for the user alone. A lock held longer than
// lockWaitMs (by a copy stopped mid-save) fails the save rather than hang the game.
constexpr int LOCK_WAIT_MS = 3000;
SaveOutcome saveBestResult(const std::string& path, const BestResult& result,
                           BestResult* stored = nullptr, int lockWaitMs = LOCK_WAIT_MS);
