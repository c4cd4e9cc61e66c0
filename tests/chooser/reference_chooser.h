// The chooser's search written out literally on whole record copies, placement by
// placement. It is the oracle that the fast chooser must agree with on every board.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"

int32_t chooseNextKindByTrialRecords(const GameState& state, int32_t fallingKind);
