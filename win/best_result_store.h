// The best score and its champion's name, kept per Windows user in the registry:
// HKEY_CURRENT_USER\SOFTWARE\VarnekKostrel, Record (REG_DWORD) and Champion (REG_SZ in
// the system's ANSI code page). Each operation opens (or creates) the key and closes it.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr const char* BEST_RESULT_KEY = "SOFTWARE\\VarnekKostrel";

// The champion's name with its terminator fits in this many bytes: at most 1023 characters.
constexpr int CHAMPION_BYTES = 1024;

// Record if it is stored as a 4-byte REG_DWORD; 0 in every other case.
uint32_t readBestScore();

enum class RecordWrite { written, beatenMeanwhile, failed };

// Writes Champion (cut to what fits in CHAMPION_BYTES bytes), then Record, only if score
// still beats the stored Record as readBestScore takes it: another copy of the game may have
// stored a higher one since this game ended. Reads and writes under one opening of the key.
// failed: the key cannot be opened or created, or a write failed (what was written stays).
RecordWrite writeNewRecord(const wchar_t* champion, uint32_t score);

// Shows the stored best result, or the text saying it cannot be read, in a message box:
// it cannot when the key cannot be opened, either value is missing or of another type, or
// the name with its terminator does not fit in CHAMPION_BYTES bytes (a name stored without
// its terminator is taken as it fits).
void showBestResult(HWND owner);
