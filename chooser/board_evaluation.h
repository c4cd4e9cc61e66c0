// How bad a board is for the player: the measure the adversarial chooser works with.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"
#include "model/rules/row_masks.h"

// One point per filled cell, five per empty cell with a filled cell anywhere above it,
// twenty per empty cell closed on both sides within its row (walls close).
constexpr int32_t FILLED_POINTS = 1;
constexpr int32_t COVERED_POINTS = 5;
constexpr int32_t ENCLOSED_POINTS = 20;

// The grid as masks; rows above `top` must be empty (0 is always a valid top).
int32_t evaluateRowMasks(const RowMask rows[BOARD_ROWS], int top);

// The same measure on a record's grid. Reads only cells.
int32_t evaluateBoard(const GameState& state);
