// The board evaluation, cell by cell, column by column from the top.
#include "chooser/board_evaluation.h"

namespace {

constexpr int32_t FILLED_POINTS = 1;
constexpr int32_t COVERED_POINTS = 5;
constexpr int32_t ENCLOSED_POINTS = 20;

}  // namespace

int32_t evaluateBoard(const GameState& state) {
    int32_t sum = 0;
    for (int c = 0; c < BOARD_COLUMNS; ++c) {
        bool covered = false;  // set by the first filled cell met going down this column
        for (int r = 0; r < BOARD_ROWS; ++r) {
            if (state.cells[r][c] != 0) {
                sum += FILLED_POINTS;
                covered = true;
                continue;
            }
            if (covered) sum += COVERED_POINTS;
            bool leftClosed = c == 0 || state.cells[r][c - 1] != 0;
            bool rightClosed = c == BOARD_COLUMNS - 1 || state.cells[r][c + 1] != 0;
            if (leftClosed && rightClosed) sum += ENCLOSED_POINTS;
        }
    }
    return sum;
}
