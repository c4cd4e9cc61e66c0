// Draws the whole terminal screen with ncurses from the application's state: the framed
// board, preview and score, the pause or game-over mark, the key help, and any message or
// the name prompt on top. A terminal below the needed size gets one line saying so.
#pragma once

#include "tui/tui_app.h"

constexpr int SCREEN_COLUMNS_NEEDED = 80;
constexpr int SCREEN_ROWS_NEEDED = 24;

void setUpScreenColours();  // once the terminal is taken, where it has colours
// Into stdscr, at the terminal's size; refreshes. The panel's scores are worked out here,
// at the first drawing after each choice, and only while it is shown.
void drawScreen(TuiApp& app);
