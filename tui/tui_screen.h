// Draws the whole terminal screen with ncurses from the application's state: the framed
// board, preview and score, the pause or game-over mark, the key help, and any message or
// the name prompt on top. A terminal below the needed size gets one line saying so.
#pragma once

#include "tui/tui_app.h"

constexpr int SCREEN_COLUMNS_NEEDED = 80;
constexpr int SCREEN_ROWS_NEEDED = 24;

// Once after initscr/newterm: the colours, where the terminal has them.
void setUpScreenColours();

// Draws into stdscr and refreshes. `rows` and `columns` are the terminal's size.
void drawScreen(const TuiApp& app, int rows, int columns);
