// The board evaluation on row masks: each row's own points come from a table indexed by
// its mask, so a board costs one lookup per row plus the covered cells.
#include "chooser/board_evaluation.h"

namespace {

constexpr RowMask LEFT_WALL = 1u;                          // closes column 0's left side
constexpr RowMask RIGHT_WALL = 1u << (BOARD_COLUMNS - 1);  // closes column 9's right side

// Per row mask: its filled cells plus its enclosed empty cells. Covered cells depend on
// the rows above and are added separately.
struct RowScores {
    int16_t filledAndEnclosed[FULL_ROW_MASK + 1];
    uint8_t cellCount[FULL_ROW_MASK + 1];  // a lookup beats counting bits in the hot loop
};

constexpr RowScores makeRowScores() {
    RowScores scores{};
    for (uint32_t row = 0; row <= FULL_ROW_MASK; ++row) {
        uint32_t leftClosed = (row << 1) | LEFT_WALL;
        uint32_t rightClosed = (row >> 1) | RIGHT_WALL;
        uint32_t enclosed = ~row & leftClosed & rightClosed & FULL_ROW_MASK;
        scores.filledAndEnclosed[row] = static_cast<int16_t>(
            FILLED_POINTS * countCells(row) + ENCLOSED_POINTS * countCells(enclosed));
        scores.cellCount[row] = static_cast<uint8_t>(countCells(row));
    }
    return scores;
}

constexpr RowScores ROW_SCORES = makeRowScores();

}  // namespace

int32_t evaluateRowMasks(const RowMask rows[BOARD_ROWS], int top) {
    int32_t sum = 0;
    RowMask covered = 0;  // columns with a filled cell in some row above
    for (int row = top; row < BOARD_ROWS; ++row) {
        RowMask mask = rows[row];
        sum += ROW_SCORES.filledAndEnclosed[mask] +
               COVERED_POINTS * ROW_SCORES.cellCount[covered & ~mask];
        covered |= mask;
    }
    return sum;
}

int32_t evaluateBoard(const GameState& state) {
    RowMask rows[BOARD_ROWS];
    gridRowMasks(state, rows);
    return evaluateRowMasks(rows, 0);
}
