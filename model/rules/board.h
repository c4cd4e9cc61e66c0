// Board geometry and the cell value that the game writes when a piece settles.
#pragma once

#include <cstdint>

constexpr int BOARD_COLUMNS = 10;
constexpr int BOARD_ROWS = 20;
constexpr int CELL_PIXELS = 20;           // one cell is a 20 x 20 pixel square on screen
constexpr uint32_t FILLED_CELL = 0xFFFF;  // any nonzero grid word counts as filled

// Where every new piece's box starts.
constexpr int SPAWN_COLUMN = 4;
constexpr int SPAWN_ROW = 0;
