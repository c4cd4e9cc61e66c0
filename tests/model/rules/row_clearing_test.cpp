// Full rows leave from the bottom up, one point each.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "model/rules/row_clearing.h"

namespace {

// Rows given bottom first from row 19 upward; F = full, and partly filled P, Q and R.
struct ClearingCase {
    const char* before;  // one letter per row from row 19 up: F, P, Q, R or '.'
    const char* after;
    int removed;
};

const char* rowPicture(char letter) {
    switch (letter) {
    case 'F': return "##########";
    case 'P': return "#.#.......";
    case 'Q': return ".##......#";
    case 'R': return "...#......";
    default: return "..........";
    }
}

GameState boardOf(const char* rowsFromBottom) {
    GameState state = freshRecord();
    for (int i = 0; rowsFromBottom[i] != '\0'; ++i)
        setRow(state, 19 - i, rowPicture(rowsFromBottom[i]));
    return state;
}

TEST(ClearFullRows, WorkedBoards) {
    const ClearingCase cases[] = {
        {"FFP", "P", 2},
        {"FPFQR", "PQR", 2},
        {"FFFFP", "P", 4},
        {"...................F", "...................F", 0},  // a lone full row 0 stays
        {"F..................F", "", 2},  // row 0 comes down and is removed after all
        {"PQ", "PQ", 0},
        {".FFFFFFFFFFFFFFFFFFF", "", 19},
    };
    for (const ClearingCase& example : cases) {
        GameState state = boardOf(example.before);
        state.score = 5;
        EXPECT_EQ(example.removed, clearFullRows(state)) << example.before;
        EXPECT_EQ(filledCells(boardOf(example.after)), filledCells(state)) << example.before;
        EXPECT_EQ(5 + example.removed, state.score) << example.before;
    }
}

}  // namespace
