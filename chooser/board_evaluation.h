// How bad a board is for the player: the measure the adversarial chooser works with.
#pragma once

#include <cstdint>

#include "model/game_state.h"

// One point per filled cell, five per empty cell with a filled cell anywhere above it,
// twenty per empty cell closed on both sides within its row (walls close). Reads only cells.
int32_t evaluateBoard(const GameState& state);
