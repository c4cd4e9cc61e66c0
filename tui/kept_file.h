// The small files that the terminal edition keeps for its user: where they live, how one is
// read whole, and how one is replaced so that a crash, a full disk or a copy of the game
// running beside this one never leaves half a file.
#pragma once

#include <cstddef>
#include <string>

// $XDG_..._HOME/kostrel when that variable is absolute, else `fallback`/kostrel in HOME when
// HOME is not empty, else in the password database's home; "" when there is no home at all.
std::string keptFolder(const char* xdgHome, const char* home, const char* passwordHome,
                       const char* fallback);
std::string dataFolderForUser();   // of XDG_DATA_HOME, by default ~/.local/share/kostrel
std::string stateFolderForUser();  // of XDG_STATE_HOME, by default ~/.local/state/kostrel

enum class KeptRead {
    Found,
    Missing,     // no file (or no home): nothing was ever kept
    Unreadable,  // a file is there but cannot be read: it may hold something
    TooLarge,    // more than the limit: not a file of the game's
};
// The whole content of a regular file of at most `limit` bytes.
KeptRead readKeptFile(const std::string& path, size_t limit, std::string& content);

// Writers take turns under an advisory lock on `<path>.lock`, created with the missing
// folders (for the user alone). A lock held longer than waitMs (by a copy stopped
// mid-write) fails the write rather than hang the game. -1 when it cannot be had.
constexpr int LOCK_WAIT_MS = 3000;
int lockKeptFile(const std::string& path, int waitMs = LOCK_WAIT_MS);
void unlockKeptFile(int lock);

// Under the file's lock: the temporary files that writes killed before their rename left
// are removed (no other copy is writing one meanwhile), and the new content is written
// beside the old file, flushed and renamed over it, mode 0600. A reader sees the old file
// or the new one, whole.
bool replaceKeptFile(const std::string& path, const std::string& content);

// The lock, the replacement and the lock's release in one.
bool writeKeptFile(const std::string& path, const std::string& content);

// The file of a store that adversary_stores.h names, in the folder; empty when there is no
// folder.
std::string keptPath(const std::string& folder, const std::string& name);
