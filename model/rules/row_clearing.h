// Removal of full rows and the score that counts them.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"

// Removes every full row from the bottom up, one point of score each, and returns how many
// went. Showing the score is the game's business, not the rules'.
int32_t clearFullRows(GameState& state);
