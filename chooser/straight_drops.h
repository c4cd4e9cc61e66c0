// The straight drops that the adversaries' searches are made of: each distinct picture of a
// kind that fits at the top, column by column, falling straight down to where it rests; a
// drop scored by the chooser's evaluation; and the player's best drop of the falling piece.
// Inline, so that the searches keep them in their loops.
#pragma once

#include <cstdint>

#include "chooser/board_evaluation.h"
#include "chooser/next_piece_chooser.h"
#include "model/rules/row_masks.h"

// Calls visit(picture, rotation, x, index) for each straight drop of `kind` onto `board`, in
// the choosers' order: column by column, each distinct picture that fits at row 0, `index`
// counting them. A rotation whose picture repeats an earlier one would land the same at the
// same column, so it is left out. Stops when visit returns false.
template <typename Visit>
void forEachDrop(const MaskBoard& board, int32_t kind, Visit visit) {
    const PieceMask* masks = pieceMasksOfKind(kind);
    int index = 0;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int t = 0; t < PIECE_ROTATIONS; ++t) {
            const PieceMask& picture = masks[t];
            if (picture.sameAsRotation != t || !pieceFitsMasks(board, picture, x, 0)) continue;
            if (!visit(picture, t, x, index++)) return;
        }
    }
}

// The row where a picture that fits at (x, 0) comes to rest. Rows above the stack are
// empty, so the fall can start just above it instead of at row 0.
inline int restingRow(const MaskBoard& board, const PieceMask& picture, int x) {
    int y = board.top - picture.height;
    if (y < 0) y = 0;
    while (pieceFitsMasks(board, picture, x, y + 1)) ++y;
    return y;
}

// The straight drop of a picture that fits at (x, 0): lock it where it rests, remove full
// rows and score what is left.
inline int32_t dropOnto(const MaskBoard& base, const PieceMask& picture, int x, MaskBoard& result) {
    result = base;
    lockPieceMasks(result, picture, x, restingRow(base, picture, x));
    removeFullRows(result);
    return evaluateMaskBoard(result);
}

// The board of the player's best drop of the falling piece, the first of equal scores; false
// when it fits nowhere.
inline bool bestFirstDrop(const MaskBoard& live, int32_t fallingKind, MaskBoard& saved) {
    MaskBoard trial;
    int32_t best = NO_PLACEMENT_SCORE;
    forEachDrop(live, fallingKind, [&](const PieceMask& picture, int, int x, int) {
        int32_t score = dropOnto(live, picture, x, trial);
        if (score < best) {
            best = score;
            saved = trial;
        }
        return true;
    });
    return best != NO_PLACEMENT_SCORE;
}
