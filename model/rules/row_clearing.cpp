// Full rows leave the grid; the rows above come down.
#include "model/rules/row_clearing.h"

#include "model/rules/row_masks.h"

int32_t clearFullRows(GameState& state) {
    uint32_t removed = rowsToRemove(maskBoardOf(state));
    if (removed == 0) return 0;
    removeRows(state.cells, removed);
    int32_t count = countCells(removed);
    state.score += count;
    return count;
}
