// The adversarial chooser.
#include "chooser/next_piece_chooser.h"

#include "chooser/board_evaluation.h"
#include "chooser/reference_chooser.h"
#include "model/piece_moves.h"
#include "model/row_clearing.h"

int32_t dropAndScore(GameState& trial) {
    do {
        ++trial.pieceY;
    } while (pieceFits(trial));
    --trial.pieceY;
    lockPiece(trial);
    clearFullRows(trial);
    return evaluateBoard(trial);
}

int32_t chooseNextKind(const GameState& state, int32_t fallingKind) {
    return chooseNextKindByTrialRecords(state, fallingKind);
}
