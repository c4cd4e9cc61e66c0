// The two steps that klasicky's search and its scoring share: a straight drop scored by the
// chooser's evaluation, and the player's best drop of the falling piece. Inline, so that
// the search keeps them in its loops.
#pragma once

#include <cstdint>

#include "chooser/board_evaluation.h"
#include "chooser/next_piece_chooser.h"
#include "model/rules/row_masks.h"

// The straight drop of a picture that fits at (x, 0): lock it where it rests, remove full
// rows and score what is left. Rows above the stack are empty, so the fall can start just
// above it instead of at row 0.
inline int32_t dropOnto(const MaskBoard& base, const PieceMask& picture, int x, MaskBoard& result) {
    int y = base.top - picture.height;
    if (y < 0) y = 0;
    while (pieceFitsMasks(base, picture, x, y + 1)) ++y;
    result = base;
    lockPieceMasks(result, picture, x, y);
    removeFullRows(result);
    return evaluateMaskBoard(result);
}

// The board of the player's best drop of the falling piece, the first of equal scores; false
// when it fits nowhere. A rotation whose picture repeats an earlier one scores the same at
// the same column and so can never win a strict comparison: it is skipped, here and below.
inline bool bestFirstDrop(const MaskBoard& live, int32_t fallingKind, MaskBoard& saved) {
    const PieceMask* fallingMasks = pieceMasksOfKind(fallingKind);
    MaskBoard trial;
    int32_t best = NO_PLACEMENT_SCORE;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int t = 0; t < PIECE_ROTATIONS; ++t) {
            const PieceMask& picture = fallingMasks[t];
            if (picture.sameAsRotation != t || !pieceFitsMasks(live, picture, x, 0)) continue;
            int32_t score = dropOnto(live, picture, x, trial);
            if (score < best) {
                best = score;
                saved = trial;
            }
        }
    }
    return best != NO_PLACEMENT_SCORE;
}
