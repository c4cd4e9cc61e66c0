// Fit, move, turn and lock at the walls, the floor and settled cells.
#include <gtest/gtest.h>

#include <cstring>

#include "board_builder.h"
#include "model/piece_moves.h"

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
    EXPECT_FALSE(fitsAt(6, 0, 10, 0));
    EXPECT_TRUE(fitsAt(6, 1, 6, 0));
    EXPECT_FALSE(fitsAt(6, 1, 7, 0));
    EXPECT_TRUE(fitsAt(6, 1, 0, 19));
    EXPECT_FALSE(fitsAt(6, 1, 0, 20));
    // The T (kind 5, rotation 0) has a blank top-left cell: it still may not start left of 0.
    for (int kind = 0; kind < 7; ++kind) {
        for (int rotation = 0; rotation < 4; ++rotation) {
            EXPECT_FALSE(fitsAt(kind, rotation, -1, 5)) << kind << "/" << rotation;
            EXPECT_FALSE(fitsAt(kind, rotation, 3, -1)) << kind << "/" << rotation;
            EXPECT_TRUE(fitsAt(kind, rotation, 0, 0)) << kind << "/" << rotation;
        }
    }
}

TEST(PieceFits, AnyNonzeroWordBlocks) {
    GameState state = withPiece(2, 0, 4, 10);
    state.cells[11][5] = 1;
    EXPECT_FALSE(pieceFits(state));
    state.cells[11][5] = 0x80000000u;
    EXPECT_FALSE(pieceFits(state));
    state.cells[11][5] = 0;
    state.cells[12][6] = FILLED_CELL;  // just outside the square
    EXPECT_TRUE(pieceFits(state));
}

TEST(TryMove, RefusedMoveChangesNothing) {
    GameState state = withPiece(0, 0, 0, 17);  // L resting on the floor at the left wall
    GameState before = state;
    EXPECT_FALSE(tryMove(state, -1, 0));
    EXPECT_FALSE(tryMove(state, 0, 1));
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
    EXPECT_TRUE(tryMove(state, 1, 0));
    EXPECT_EQ(1, state.pieceX);
    EXPECT_EQ(17, state.pieceY);
}

TEST(TryRotate, NoWallKicks) {
    GameState vertical = withPiece(6, 0, 8, 0);  // horizontal would need columns 8..11
    EXPECT_FALSE(tryRotate(vertical));
    EXPECT_EQ(0, vertical.pieceRotation);
    EXPECT_EQ(8, vertical.pieceX);

    GameState horizontal = withPiece(6, 1, 0, 17);  // vertical would need rows 17..20
    EXPECT_FALSE(tryRotate(horizontal));
    EXPECT_EQ(1, horizontal.pieceRotation);

    GameState blocked = withPiece(0, 0, 4, 5);
    blocked.cells[5][6] = FILLED_CELL;  // rotation 1 needs (0, 2) of its box
    GameState before = blocked;
    EXPECT_FALSE(tryRotate(blocked));
    EXPECT_EQ(0, std::memcmp(&before, &blocked, sizeof blocked));
}

TEST(TryRotate, CyclesThroughFourRotations) {
    GameState square = withPiece(2, 3, 8, 18);  // squeezed into the corner, still turns
    EXPECT_TRUE(tryRotate(square));
    EXPECT_EQ(0, square.pieceRotation);
    EXPECT_EQ(8, square.pieceX);
    EXPECT_EQ(18, square.pieceY);
    GameState l = withPiece(0, 0, 3, 3);
    for (int turn = 1; turn <= 4; ++turn) {
        EXPECT_TRUE(tryRotate(l));
        EXPECT_EQ(turn % 4, l.pieceRotation);
    }
}

TEST(LockPiece, WritesExactlyFourFilledWords) {
    GameState state = withPiece(0, 1, 7, 18);  // rows ..X. / XXX. at the bottom right
    state.cells[0][0] = 7;
    GameState before = state;
    lockPiece(state);
    std::vector<std::pair<int, int>> expected = {{0, 0}, {18, 9}, {19, 7}, {19, 8}, {19, 9}};
    EXPECT_EQ(filledCells(state), expected);
    EXPECT_EQ(FILLED_CELL, state.cells[18][9]);
    EXPECT_EQ(7u, state.cells[0][0]);
    EXPECT_EQ(before.pieceX, state.pieceX);
    EXPECT_EQ(before.pieceY, state.pieceY);
    EXPECT_EQ(before.pieceKind, state.pieceKind);
    EXPECT_EQ(before.pieceRotation, state.pieceRotation);
}

TEST(LockPiece, PieceOutsideTheGridWritesNothingOutsideIt) {
    GameState state = withPiece(6, 0, -10, 0);  // the position before the first game
    GameState before = state;
    lockPiece(state);
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
    state = withPiece(6, 0, 9, 18);  // two cells below the floor
    lockPiece(state);
    EXPECT_EQ(2u, filledCells(state).size());
    EXPECT_EQ(18, state.pieceY);
}

}  // namespace
