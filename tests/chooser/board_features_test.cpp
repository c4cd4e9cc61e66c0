// The bot's features on a known board, and what it counts when it fixes a piece. (That its
// board follows the game's is checked piece by piece in real games, in bot_player_test.)
#include <gtest/gtest.h>

#include "board_builder.h"
#include "chooser/board_features.h"

namespace {

TEST(BoardFeatures, CountedOnAKnownBoard) {
    GameState board = boardFromBottom({"#.#......#", "#.##.#...#", "####...###"});
    BoardFeatures f = measureBoard(maskBoardOf(board));
    EXPECT_EQ(1, f.holes);                            // under column 5's cell in row 18
    EXPECT_EQ(17 * 2 + 4 + 6 + 2, f.rowTransitions);  // an empty row has its two walls
    EXPECT_EQ(9 * 1 + 3, f.columnTransitions);        // column 5: cell, hole, floor
    EXPECT_EQ((1 + 2) + 1, f.wellSums);               // column 1 two deep, column 4 one deep
    EXPECT_EQ(3 + 1 + 3 + 2 + 0 + 2 + 0 + 1 + 1 + 3, f.aggregateHeight);
    EXPECT_EQ(2 + 2 + 1 + 2 + 2 + 2 + 1 + 0 + 2, f.bumpiness);

    // The upright bar down column 4 rests on the floor: its middle is 2.5 rows up.
    MaskBoard after = maskBoardOf(board);
    BoardFeatures placed = placeAndMeasure(after, pieceMask(6, 0), 4, 16);
    EXPECT_DOUBLE_EQ(2.5, placed.landingHeight);
    EXPECT_EQ(0, placed.rowsCleared);
    EXPECT_EQ(16 + 4, placed.aggregateHeight);
}

TEST(BoardFeatures, ErodedCellsCountThePiecesOwnCellsInRemovedRows) {
    MaskBoard after = maskBoardOf(boardFromBottom({"#.........", "########..", "########.."}));
    BoardFeatures square = placeAndMeasure(after, pieceMask(2, 0), 8, 18);
    EXPECT_EQ(2, square.rowsCleared);
    EXPECT_EQ(2 * 4, square.erodedCells);  // two rows times the square's four cells
    EXPECT_EQ(1u, after.rows[19]);         // row 17 came down two rows
    EXPECT_EQ(19, after.top);
}

}  // namespace
