// The evaluation's terms on the worked boards, at the walls and under overhangs.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "chooser/board_evaluation.h"

namespace {

// A board from (row, picture) pairs, '#' filled; other rows empty.
GameState boardOf(std::initializer_list<std::pair<int, const char*>> rows) {
    GameState state = freshRecord();
    for (const auto& [row, picture] : rows) setRow(state, row, picture);
    return state;
}

TEST(EvaluateBoard, WorkedBoards) {
    const struct {
        GameState board;
        int32_t score;
    } cases[] = {
        {boardOf({}), 0},
        {boardOf({{10, "....#....."}}), 46},  // 1 filled, 9 covered below it
        {boardOf({{19, "#.#......."}}), 22},  // (19, 3) has only one closed side
        {boardOf({{16, "#########."}, {17, "#########."}, {18, "#########."}, {19, "#########."}}),
         116},                                            // the right wall closes column 9
        {boardOf({{5, ".#........"}}), 1 + 14 * 5 + 20},  // the left wall closes (5, 0)
        {boardOf({{5, "........#."}}), 1 + 14 * 5 + 20},
        {boardOf({{2, ".......#.."}, {12, ".......#.."}}), 2 + 16 * 5},  // cover goes on down
        {boardOf({{19, ".......#.."}}), 1},  // a cell only below covers nothing
    };
    for (const auto& example : cases) EXPECT_EQ(example.score, evaluateBoard(example.board));
}

TEST(EvaluateBoard, BottomRowWithOneGapInEveryColumn) {
    for (int gap = 0; gap < BOARD_COLUMNS; ++gap) {
        GameState state = boardOf({{19, "##########"}});
        state.cells[19][gap] = 0;
        EXPECT_EQ(29, evaluateBoard(state)) << "gap " << gap;
        // Covering the gap adds a filled cell and 5; next to a wall, the cell of row 18
        // between the wall and the cover is enclosed too.
        state.cells[18][gap] = FILLED_CELL;
        EXPECT_EQ(gap == 1 || gap == 8 ? 55 : 35, evaluateBoard(state)) << "covered gap " << gap;
    }
}

}  // namespace
