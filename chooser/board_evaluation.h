// How bad a board is for the player: the measure the adversarial chooser works with.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"
#include "model/rules/row_masks.h"

// One point per filled cell, five per empty cell with a filled cell anywhere above it,
// twenty per empty cell closed on both sides within its row (walls close).
constexpr int32_t FILLED_POINTS = 1;
constexpr int32_t COVERED_POINTS = 5;
constexpr int32_t ENCLOSED_POINTS = 20;

// Each row's own points come from a table indexed by its mask, so a board costs one lookup
// per row plus its covered cells. The chooser calls it for every trial placement.
struct RowScores {
    int16_t filledAndEnclosed[FULL_ROW_MASK + 1];  // covered cells depend on the rows above
    uint8_t cellCount[FULL_ROW_MASK + 1];          // a lookup beats counting bits here
};

constexpr RowScores makeRowScores() {
    constexpr RowMask LEFT_WALL = 1u;                          // closes column 0's left side
    constexpr RowMask RIGHT_WALL = 1u << (BOARD_COLUMNS - 1);  // closes column 9's right side
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

inline constexpr RowScores ROW_SCORES = makeRowScores();

// The rows above the board's top are empty and score nothing.
inline int32_t evaluateMaskBoard(const MaskBoard& board) {
    int32_t sum = 0;
    RowMask covered = 0;  // columns with a filled cell in some row above
    for (int row = board.top; row < BOARD_ROWS; ++row) {
        RowMask mask = board.rows[row];
        sum += ROW_SCORES.filledAndEnclosed[mask] +
               COVERED_POINTS * ROW_SCORES.cellCount[covered & ~mask];
        covered |= mask;
    }
    return sum;
}

// The same measure on a record's grid. Reads only cells.
inline int32_t evaluateBoard(const GameState& state) {
    return evaluateMaskBoard(maskBoardOf(state));
}
