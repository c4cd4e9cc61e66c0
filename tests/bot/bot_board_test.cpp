// The bot's row-mask board must fix pieces and remove rows exactly as the game does, and
// its features must count what their names say.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "bot/board_features.h"
#include "bot/bot_board.h"
#include "model/rules/piece_moves.h"
#include "model/rules/row_clearing.h"

namespace {

// Locks kind/rotation at (x, y) both ways and compares the boards and the row count.
void expectLockLikeTheGame(const GameState& board, int kind, int rotation, int x, int y) {
    GameState game = board;
    game.pieceKind = kind;
    game.pieceRotation = rotation;
    game.pieceX = x;
    game.pieceY = y;
    ASSERT_TRUE(pieceFits(game));
    game.score = 0;
    lockPiece(game);
    clearFullRows(game);

    BotBoard bot = botBoardFromGame(board);
    LockResult result = botLockAndClear(bot, pieceMask(kind, rotation), x, y);
    BotBoard expected = botBoardFromGame(game);
    for (int row = 0; row < BOARD_ROWS; ++row)
        EXPECT_EQ(expected.rows[row], bot.rows[row]) << "row " << row;
    EXPECT_EQ(game.score, result.rowsCleared);
}

TEST(BotBoard, LockAndRowRemovalAsTheGame) {
    GameState board = freshRecord();
    setRow(board, 16, "#########.");
    setRow(board, 17, "#########.");
    setRow(board, 18, "####.####.");
    setRow(board, 19, "#########.");
    expectLockLikeTheGame(board, 6, 0, 9, 16);  // three rows of four, not the gapped one

    // A full top row stays unless a removal below brings it down, as in the game.
    GameState top = freshRecord();
    setRow(top, 0, "##########");
    setRow(top, 19, "#######...");
    expectLockLikeTheGame(top, 6, 1, 0, 18);  // no row full: row 0 stays
    expectLockLikeTheGame(top, 5, 2, 7, 18);  // bottom row full: both go
}

TEST(BotBoard, ErodedCellsCountThePiecesOwnCellsInRemovedRows) {
    GameState board = freshRecord();
    setRow(board, 18, "########..");
    setRow(board, 19, "########..");
    BotBoard bot = botBoardFromGame(board);
    LockResult square = botLockAndClear(bot, pieceMask(2, 0), 8, 18);
    EXPECT_EQ(2, square.rowsCleared);
    EXPECT_EQ(2 * 4, square.erodedCells);  // two rows times the square's four cells
}

TEST(BoardFeatures, CountedOnAKnownBoard) {
    GameState board = freshRecord();
    setRow(board, 17, "#.#......#");
    setRow(board, 18, "#.##.#...#");
    setRow(board, 19, "####...###");
    BoardFeatures f = measureBoard(botBoardFromGame(board));
    EXPECT_EQ(1, f.holes);                // under column 5's cell in row 18
    EXPECT_EQ(17 * 2 + 4 + 6 + 2, f.rowTransitions);  // an empty row has its two walls
    EXPECT_EQ(9 * 1 + 3, f.columnTransitions);        // column 5: cell, hole, floor
    EXPECT_EQ((1 + 2) + 1, f.wellSums);   // column 1 two deep, column 4 one deep
    EXPECT_EQ(3 + 1 + 3 + 2 + 0 + 2 + 0 + 1 + 1 + 3, f.aggregateHeight);
    EXPECT_EQ(2 + 2 + 1 + 2 + 2 + 2 + 1 + 0 + 2, f.bumpiness);

    // The upright bar down column 4 rests on the floor: its middle is 2.5 rows up.
    BotBoard after = botBoardFromGame(board);
    BoardFeatures placed = placeAndMeasure(after, pieceMask(6, 0), 4, 16);
    EXPECT_DOUBLE_EQ(2.5, placed.landingHeight);
    EXPECT_EQ(0, placed.rowsCleared);
    EXPECT_EQ(16 + 4, placed.aggregateHeight);
}

}  // namespace
