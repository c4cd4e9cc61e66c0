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
        int32_t kindBest = NO_PLACEMENT_SCORE;
        scores.answers[k] = saved;  // no drop fits: the board stays as it is
        forEachDrop(saved, k, [&](const PieceMask& picture, int, int x, int) {
            int32_t score = dropOnto(saved, picture, x, trial);
            if (score < kindBest) {
                kindBest = score;
                scores.answers[k] = trial;
            }
            return true;
        });
        scores.badness[k] = kindBest;
        if (kindBest > highest) {
            highest = kindBest;
            scores.chosen = k;
        }
    }
    return scores;
}
