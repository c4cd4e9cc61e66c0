// The `zly` adversary: the player places the falling piece knowing the preview, so each
// kind is judged by the player's best answer with two pieces, the falling one and then that
// kind, and the kind whose best answer is worst is handed out. A loop guard keeps the player
// from returning to a board the game has had.
#pragma once

#include <cstdint>

#include "chooser/kind_scores.h"
#include "chooser/seen_boards.h"
#include "model/rules/piece_table.h"
#include "model/rules/row_masks.h"

// How bad a kind's best answer is when the player has none: the game ends.
constexpr int32_t NO_ANSWER_BADNESS = 1 << 28;

// The kind for the piece after `fallingKind`, which starts to fall on `board`. `earlier`
// holds the boards of the game before this one; `board` counts as seen once more.
int32_t choosePreviewAware(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier);

// Every kind's best answer scored in full. When the falling piece fits nowhere, every
// badness is 0 and kind 0 is chosen, as by the choice above. When `earlier` already holds
// this very choice, `remembered` names the kind it gave (else it is negative), and that
// choice's board and surface are counted once less.
KindScores scorePreviewAware(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier,
                             int32_t remembered = -1);
