// The collision test and the three changes of a falling piece that rest on it.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"

// True when every filled cell of the falling piece lies inside the grid on an empty cell.
bool pieceFits(const GameState& state);

// Writes FILLED_CELL under each filled cell of the falling piece; cells outside the grid
// are skipped, so a piece that does not fit cannot write past the record.
void lockPiece(GameState& state);

// Moves the piece by (dx, dy) when it fits there; otherwise leaves it and returns false.
bool tryMove(GameState& state, int32_t dx, int32_t dy);

// Advances the rotation by one when the turned piece fits; no wall kicks.
bool tryRotate(GameState& state);
