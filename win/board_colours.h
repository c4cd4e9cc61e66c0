// The two colours of the game on screen: a black board, yellow cells.
#pragma once

#include <windows.h>

constexpr COLORREF BOARD_BLACK = RGB(0, 0, 0);
constexpr COLORREF CELL_YELLOW = RGB(255, 255, 0);
