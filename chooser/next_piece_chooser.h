// The adversary: the next kind is the one whose best straight drop, after the player's best
// drop of the falling piece, leaves the worst board.
#pragma once

#include <cstdint>

#include "chooser/kind_scores.h"
#include "model/rules/game_state.h"
#include "model/rules/row_masks.h"

constexpr int32_t NO_PLACEMENT_SCORE = 10000000;

// Kind 0..6 for the live record, which is not changed. Depends only on the grid and
// fallingKind; the same inputs always give the same kind.
int32_t chooseNextKind(const GameState& state, int32_t fallingKind);

// The same choice on a grid that is already masks, such as the bot's.
int32_t chooseNextKind(const MaskBoard& board, int32_t fallingKind);

// Every kind's best drop scored in full on the board of the player's best drop of the
// falling piece, and the kind that chooseNextKind names. When the falling piece fits
// nowhere, every badness is 0 and kind 0 is chosen.
KindScores scoreEveryKind(const MaskBoard& board, int32_t fallingKind);
