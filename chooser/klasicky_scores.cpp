// klasicky's choice worked out in full for every kind, for a view that shows why a piece
// was chosen. Apart from the search, so that a program that never asks links none of it.
#include "chooser/next_piece_chooser.h"
#include "chooser/straight_drops.h"

KindScores scoreEveryKind(const MaskBoard& live, int32_t fallingKind) {
    KindScores scores{};
    MaskBoard saved;
    if (!bestFirstDrop(live, fallingKind, saved)) return scores;
    MaskBoard trial;
    int32_t highest = 0;
    for (int k = 0; k < PIECE_KINDS; ++k) {
        const PieceMask* kindMasks = pieceMasksOfKind(k);
        int32_t kindBest = NO_PLACEMENT_SCORE;
        scores.answers[k] = saved;  // no drop fits: the board stays as it is
        for (int x = 0; x < BOARD_COLUMNS; ++x) {
            for (int t = 0; t < PIECE_ROTATIONS; ++t) {
                const PieceMask& picture = kindMasks[t];
                if (picture.sameAsRotation != t || !pieceFitsMasks(saved, picture, x, 0)) continue;
                int32_t score = dropOnto(saved, picture, x, trial);
                if (score >= kindBest) continue;
                kindBest = score;
                scores.answers[k] = trial;
            }
        }
        scores.badness[k] = kindBest;
        if (kindBest > highest) {
            highest = kindBest;
            scores.chosen = k;
        }
    }
    return scores;
}
