// The adversary: the next kind is the one whose best straight drop, after the player's best
// drop of the falling piece, leaves the worst board.
#pragma once

#include <cstdint>

#include "model/game_state.h"

constexpr int32_t NO_PLACEMENT_SCORE = 10000000;

// Kind 0..6 for the live record, which is not changed. Depends only on the grid and
// fallingKind; the same inputs always give the same kind.
int32_t chooseNextKind(const GameState& state, int32_t fallingKind);

// Drops a trial record's piece straight down from where it fits, locks it, removes full
// rows and returns the evaluation of the board left; the trial keeps that board.
int32_t dropAndScore(GameState& trial);
