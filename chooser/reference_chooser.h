// The chooser's search written out literally on whole record copies, placement by
// placement. It is the oracle that the fast chooser must agree with on every board.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"

// Drops a trial record's piece straight down from where it fits, locks it, removes full
// rows and returns the evaluation of the board left; the trial keeps that board.
int32_t dropAndScore(GameState& trial);

int32_t chooseNextKindByTrialRecords(const GameState& state, int32_t fallingKind);
