// Full rows leave the grid from the bottom up; the rows above come down one row each.
#include "model/row_clearing.h"

#include <cstdio>
#include <cstring>

#include "model/window_notifier.h"

namespace {

bool rowFull(const GameState& state, int row) {
    for (int column = 0; column < BOARD_COLUMNS; ++column)
        if (state.cells[row][column] == 0) return false;
    return true;
}

}  // namespace

void clearFullRows(GameState& state) {
    // Row 0 is never tested itself: a full row 0 goes only when a removal below brings it
    // down into reach of the scan.
    int row = BOARD_ROWS - 1;
    while (row != 0) {
        if (!rowFull(state, row)) {
            --row;
            continue;
        }
        std::memmove(state.cells[1], state.cells[0], sizeof state.cells[0] * row);
        std::memset(state.cells[0], 0, sizeof state.cells[0]);
        ++state.score;
        if (state.scoreLabel != 0) {
            char text[16];
            std::snprintf(text, sizeof text, "%d", static_cast<int>(state.score));
            notifyWindowText(state.scoreLabel, text);
        }
    }
}
