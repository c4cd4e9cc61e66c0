// Removal of full rows and the score that counts them.
#pragma once

#include "model/game_state.h"

// Removes every full row from the bottom up, one point each, and shows each new score on
// the linked score label.
void clearFullRows(GameState& state);
