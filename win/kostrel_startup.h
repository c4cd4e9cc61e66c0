// Start-up and the message loop: everything WinMain does.
#pragma once

#include <windows.h>

// Prepares the common controls and the piece table, registers the three window classes,
// creates the main window and runs the message loop. Returns the exit code: 0 after the
// main window is closed, and 0 (silently) when start-up fails.
int runKostrel(HINSTANCE instance, int showCommand);

// Dispatches the thread's messages until WM_QUIT; returns its exit code, or 0 if fetching
// a message fails.
int runMessageLoop();
