// The grid as row masks.
#include "model/rules/row_masks.h"

MaskBoard maskBoardOf(const GameState& state) {
    MaskBoard board;
    board.top = BOARD_ROWS;
    for (int row = BOARD_ROWS - 1; row >= 0; --row) {
        board.rows[row] = rowMaskOf(state.cells[row]);
        if (board.rows[row] != 0) board.top = row;
    }
    return board;
}
