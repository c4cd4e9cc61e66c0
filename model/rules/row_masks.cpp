// The grid as row masks.
#include "model/rules/row_masks.h"

void gridRowMasks(const GameState& state, RowMask rows[BOARD_ROWS]) {
    for (int row = 0; row < BOARD_ROWS; ++row) rows[row] = rowMaskOf(state.cells[row]);
}
