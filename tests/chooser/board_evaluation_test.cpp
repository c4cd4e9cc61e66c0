// The evaluation's terms on the worked boards, at the walls and under overhangs.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "chooser/board_evaluation.h"

namespace {

TEST(EvaluateBoard, WorkedBoards) {
    GameState state = freshRecord();
    EXPECT_EQ(0, evaluateBoard(state));

    state.cells[10][4] = FILLED_CELL;
    EXPECT_EQ(46, evaluateBoard(state));  // 1 filled, 9 covered

    state = freshRecord();
    setRow(state, 19, "#.#.......");
    EXPECT_EQ(22, evaluateBoard(state));  // column 3 has only one closed side

    state = freshRecord();
    for (int row = 16; row < 20; ++row) setRow(state, row, "#########.");
    EXPECT_EQ(116, evaluateBoard(state));  // the wall closes column 9

    for (int row = 0; row < 20; ++row) setRow(state, row, "##########");
    EXPECT_EQ(200, evaluateBoard(state));
}

TEST(EvaluateBoard, BottomRowWithOneGapInEveryColumn) {
    for (int gap = 0; gap < BOARD_COLUMNS; ++gap) {
        GameState state = freshRecord();
        setRow(state, 19, "##########");
        state.cells[19][gap] = 0;
        EXPECT_EQ(29, evaluateBoard(state)) << "gap " << gap;
        // Covering the gap adds a filled cell and 5; next to a wall, the cell of row 18
        // between the wall and the cover is enclosed too.
        state.cells[18][gap] = FILLED_CELL;
        int expected = (gap == 1 || gap == 8) ? 55 : 35;
        EXPECT_EQ(expected, evaluateBoard(state)) << "covered gap " << gap;
    }
}

TEST(EvaluateBoard, WallsCloseOnlyTogetherWithAFilledNeighbour) {
    GameState state = freshRecord();
    EXPECT_EQ(0, evaluateBoard(state));  // an empty cell at a wall with an empty neighbour
    state.cells[5][1] = FILLED_CELL;
    EXPECT_EQ(1 + 14 * 5 + 20, evaluateBoard(state));  // (5, 0) enclosed by wall and (5, 1)
    state = freshRecord();
    state.cells[5][8] = FILLED_CELL;
    EXPECT_EQ(1 + 14 * 5 + 20, evaluateBoard(state));  // (5, 9) likewise
    state = freshRecord();
    state.cells[5][4] = FILLED_CELL;
    EXPECT_EQ(1 + 14 * 5, evaluateBoard(state));  // one filled neighbour encloses nothing
}

TEST(EvaluateBoard, CoverReachesEveryEmptyCellBelowTheTopmostFilledOne) {
    GameState state = freshRecord();
    state.cells[2][7] = FILLED_CELL;
    state.cells[12][7] = FILLED_CELL;
    EXPECT_EQ(2 + 16 * 5, evaluateBoard(state));
    state = freshRecord();
    state.cells[19][7] = FILLED_CELL;  // a filled cell only below covers nothing
    EXPECT_EQ(1, evaluateBoard(state));
}

TEST(EvaluateBoard, AnyNonzeroWordCountsAndOnlyTheGridMatters) {
    GameState state = freshRecord();
    setRow(state, 19, "#.#.......");
    state.cells[19][0] = 1;
    state.cells[19][2] = 0x80000000u;
    int32_t score = evaluateBoard(state);
    EXPECT_EQ(22, score);
    state.pieceKind = 6;
    state.pieceX = 3;
    state.score = 99;
    state.nextKind = 4;
    state.offscreenDC = 0xDEAD;
    EXPECT_EQ(score, evaluateBoard(state));
}

}  // namespace
