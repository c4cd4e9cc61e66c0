// The end-of-game check for a new best score and the dialog that asks for the name.
#pragma once

#include <windows.h>

#include <cstdint>

// Opens the new-record dialog, modal and owned by owner, when score beats the stored best
// score (unsigned comparison; a tie is no record). Returns when the dialog has closed.
void checkNewRecord(HWND owner, uint32_t score);
