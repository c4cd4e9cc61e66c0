// Full rows leave from the bottom up, one point and one label text each.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "model/recording_notifier.h"
#include "model/row_clearing.h"

namespace {

constexpr uint32_t LABEL = 0x1234;

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
    for (int i = 0; rowsFromBottom[i] != '\0'; ++i) setRow(state, 19 - i, rowPicture(rowsFromBottom[i]));
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
        NotifierRecord& notes = recordNotifications();
        GameState state = boardOf(example.before);
        state.scoreLabel = LABEL;
        state.score = 5;
        clearFullRows(state);
        EXPECT_EQ(filledCells(boardOf(example.after)), filledCells(state)) << example.before;
        EXPECT_EQ(5 + example.removed, state.score) << example.before;
        // One text per removed row, each intermediate score in turn.
        ASSERT_EQ(static_cast<size_t>(example.removed), notes.texts.size()) << example.before;
        for (int i = 0; i < example.removed; ++i) {
            EXPECT_EQ(LABEL, notes.texts[i].first);
            EXPECT_EQ(std::to_string(6 + i), notes.texts[i].second);
        }
    }
}

TEST(ClearFullRows, AnyNonzeroWordCountsAndKeepsItsValue) {
    NotifierRecord& notes = recordNotifications();
    GameState state = freshRecord();  // no label linked: the score still counts
    for (int column = 0; column < BOARD_COLUMNS; ++column) state.cells[19][column] = column + 1;
    state.cells[18][3] = 0xABCD;
    clearFullRows(state);
    EXPECT_EQ(1, state.score);
    EXPECT_EQ(0xABCDu, state.cells[19][3]);
    EXPECT_EQ(1u, filledCells(state).size());
    EXPECT_TRUE(notes.texts.empty());
}

}  // namespace
