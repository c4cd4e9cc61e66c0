// The main window: layout of the board, preview and score, keys, menu, activation pause,
// and the game-over hand-off to the best-result check.
#pragma once

#include <windows.h>

inline constexpr const wchar_t* MAIN_WINDOW_CLASS = L"VarnekKostrel_MainWIndow";

// Outer size, frame, caption and menu bar included; the window cannot be resized.
constexpr int MAIN_WINDOW_WIDTH = 360;
constexpr int MAIN_WINDOW_HEIGHT = 505;

bool registerMainWindowClass(HINSTANCE instance);

// Creates, shows and updates the main window; null if it could not be created.
HWND createMainWindow(int showCommand);
