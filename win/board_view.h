// The board view: the child window that runs one game and draws it through an
// off-screen bitmap; the WM_GAME_COMMAND message that drives it.
#pragma once

#include <windows.h>

#include "model/rules/game_state.h"

// The private message between the main window and the board view; wParam carries a
// GameCommand code, lParam its argument.
constexpr UINT WM_GAME_COMMAND = WM_USER + 1;

inline constexpr const wchar_t* BOARD_VIEW_CLASS = L"VarnekKostrel_KostrelView";
inline constexpr const wchar_t* BOARD_VIEW_NAME = L"kostrel_window";

constexpr int BOARD_PIXEL_WIDTH = BOARD_COLUMNS * CELL_PIXELS;  // 200
constexpr int BOARD_PIXEL_HEIGHT = BOARD_ROWS * CELL_PIXELS;    // 400

LRESULT CALLBACK BoardViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// The game record of a board view, or null before its creation and after its destruction.
GameState* boardViewState(HWND view);
