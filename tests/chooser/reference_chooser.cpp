// Every placement on a fresh copy of the whole record, dropped, locked, cleared and scored.
#include "chooser/reference_chooser.h"

#include "chooser/board_evaluation.h"
#include "chooser/next_piece_chooser.h"
#include "model/rules/piece_moves.h"
#include "model/rules/piece_table.h"
#include "model/rules/row_clearing.h"

namespace {

// Drops a trial record's piece straight down from where it fits, locks it, removes full
// rows and returns the evaluation of the board left; the trial keeps that board.
int32_t dropAndScore(GameState& trial) {
    do {
        ++trial.pieceY;
    } while (pieceFits(trial));
    --trial.pieceY;
    lockPiece(trial);
    clearFullRows(trial);
    return evaluateBoard(trial);
}

// Scores one placement on a copy of base; false when it does not fit at row 0.
bool tryPlacement(const GameState& base, int32_t kind, int32_t column, int32_t rotation,
                  GameState& trial, int32_t& score) {
    trial = base;
    trial.pieceKind = kind;
    trial.pieceX = column;
    trial.pieceY = 0;
    trial.pieceRotation = rotation;
    if (!pieceFits(trial)) return false;
    score = dropAndScore(trial);
    return true;
}

}  // namespace

int32_t chooseNextKindByTrialRecords(const GameState& state, int32_t fallingKind) {
    GameState trial;
    GameState saved;
    int32_t best = NO_PLACEMENT_SCORE;
    for (int32_t x = 0; x < BOARD_COLUMNS; ++x) {
        for (int32_t t = 0; t < PIECE_ROTATIONS; ++t) {
            int32_t score;
            if (tryPlacement(state, fallingKind, x, t, trial, score) && score < best) {
                saved = trial;
                best = score;
            }
        }
    }
    // The falling piece fits nowhere: the game is about to end, and there is no board to
    // answer on; kind 0 keeps the preview and the next game's first piece valid.
    if (best == NO_PLACEMENT_SCORE) return 0;

    int32_t highest = 0;
    int32_t result = 0;
    for (int32_t k = 0; k < PIECE_KINDS; ++k) {
        int32_t kindBest = NO_PLACEMENT_SCORE;
        for (int32_t x = 0; x < BOARD_COLUMNS; ++x) {
            for (int32_t t = 0; t < PIECE_ROTATIONS; ++t) {
                int32_t score;
                if (tryPlacement(saved, k, x, t, trial, score) && score < kindBest)
                    kindBest = score;
            }
        }
        if (kindBest > highest) {
            highest = kindBest;
            result = k;
        }
    }
    return result;
}
