// The adversarial chooser. The search runs on the grid alone, as ten-bit row masks: a
// placement's fit, drop, lock, row removal and evaluation are a few mask operations per
// row, so the whole two-phase search takes microseconds. The tests hold it to the literal
// search on record copies for every board.
#include "chooser/next_piece_chooser.h"

#include "chooser/straight_drops.h"
#include "model/rules/piece_table.h"

int32_t chooseNextKind(const GameState& state, int32_t fallingKind) {
    return chooseNextKind(maskBoardOf(state), fallingKind);
}

int32_t chooseNextKind(const MaskBoard& live, int32_t fallingKind) {
    // The falling piece fits nowhere: the game ends right after this advance and there is
    // no board to answer on. Kind 0 keeps the preview and the next game's first piece valid.
    MaskBoard saved;
    if (!bestFirstDrop(live, fallingKind, saved)) return 0;

    // The kind whose best answer is worst; ties go to the lower kind. A kind can only take
    // the lead with every placement above the current highest, so its search stops at the
    // first placement that is not.
    MaskBoard trial;
    int32_t highest = 0;
    int32_t result = 0;
    for (int k = 0; k < PIECE_KINDS; ++k) {
        int32_t kindBest = NO_PLACEMENT_SCORE;
        forEachDrop(saved, k, [&](const PieceMask& picture, int, int x, int) {
            int32_t score = dropOnto(saved, picture, x, trial);
            if (score < kindBest) kindBest = score;
            return kindBest > highest;
        });
        if (kindBest > highest) {
            highest = kindBest;
            result = k;
        }
    }
    return result;
}
