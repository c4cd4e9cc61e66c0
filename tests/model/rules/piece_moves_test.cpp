// Fit, move, turn and lock at the walls, the floor and settled cells.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "model/rules/piece_moves.h"

namespace {

GameState withPiece(int kind, int rotation, int x, int y) {
    GameState state = freshRecord();
    state.pieceKind = kind;
    state.pieceRotation = rotation;
    state.pieceX = x;
    state.pieceY = y;
    return state;
}

bool fitsAt(int kind, int rotation, int x, int y) {
    return pieceFits(withPiece(kind, rotation, x, y));
}

TEST(PieceFits, WallsAndFloorTestOnlyFilledCells) {
    EXPECT_TRUE(fitsAt(6, 0, 9, 0));  // blank box cells may reach past the right wall
    EXPECT_TRUE(fitsAt(6, 0, 0, 16));
    EXPECT_FALSE(fitsAt(6, 0, 0, 17));
    EXPECT_TRUE(fitsAt(6, 1, 6, 19));
    EXPECT_FALSE(fitsAt(6, 1, 7, 0));
    // The T has a blank top-left cell; its box still may not start left of column 0.
    for (int kind = 0; kind < 7; ++kind) {
        EXPECT_FALSE(fitsAt(kind, 0, -1, 5)) << kind;
        EXPECT_FALSE(fitsAt(kind, 0, 3, -1)) << kind;
    }
    GameState blocked = withPiece(2, 0, 4, 10);
    blocked.cells[11][5] = 1;  // any nonzero word blocks
    EXPECT_FALSE(pieceFits(blocked));
}

TEST(TryMoveAndRotate, RefusalsChangeNothingAndThereAreNoWallKicks) {
    GameState floor = withPiece(0, 0, 0, 17);  // L resting on the floor at the left wall
    GameState before = floor;
    EXPECT_FALSE(tryMove(floor, -1, 0));
    EXPECT_FALSE(tryMove(floor, 0, 1));
    EXPECT_TRUE(unchanged(before, floor));
    EXPECT_TRUE(tryMove(floor, 1, 0));
    EXPECT_EQ(1, floor.pieceX);

    GameState wall = withPiece(6, 0, 8, 0);  // lying down it would need columns 8..11
    before = wall;
    EXPECT_FALSE(tryRotate(wall));
    EXPECT_TRUE(unchanged(before, wall));

    GameState low = withPiece(6, 1, 0, 17);  // standing up it would need rows 17..20
    EXPECT_FALSE(tryRotate(low));
    EXPECT_EQ(1, low.pieceRotation);

    GameState square = withPiece(2, 3, 8, 18);  // the square turns anywhere, in place
    EXPECT_TRUE(tryRotate(square));
    EXPECT_EQ(0, square.pieceRotation);
    EXPECT_EQ(8, square.pieceX);
}

TEST(LockPiece, WritesExactlyFourFilledWordsAndNoneOutsideTheGrid) {
    GameState state = withPiece(0, 1, 7, 18);  // rows ..X. / XXX. at the bottom right
    state.cells[0][0] = 7;
    lockPiece(state);
    std::vector<std::pair<int, int>> expected = {{0, 0}, {18, 9}, {19, 7}, {19, 8}, {19, 9}};
    EXPECT_EQ(expected, filledCells(state));
    EXPECT_EQ(FILLED_CELL, state.cells[18][9]);
    EXPECT_EQ(7u, state.cells[0][0]);
    EXPECT_EQ(7, state.pieceX);
    EXPECT_EQ(18, state.pieceY);

    GameState offBoard = withPiece(6, 0, -10, 0);  // where the piece waits before a game
    GameState before = offBoard;
    lockPiece(offBoard);
    EXPECT_TRUE(unchanged(before, offBoard));
    GameState belowFloor = withPiece(6, 0, 9, 18);
    lockPiece(belowFloor);
    EXPECT_EQ(2u, filledCells(belowFloor).size());
    EXPECT_EQ(18, belowFloor.pieceY);
}

}  // namespace
