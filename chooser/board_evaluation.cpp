// The board evaluation of a record's grid.
#include "chooser/board_evaluation.h"

int32_t evaluateBoard(const GameState& state) {
    RowMask rows[BOARD_ROWS];
    gridRowMasks(state, rows);
    return evaluateRowMasks(rows, 0);
}
