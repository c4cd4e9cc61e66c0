// The game as a value against the controller: the same boards, pieces, rotations, scores
// and draws, for every adversary, over two games of a program (the second one starting
// where the first left off, the adversary's memory forgotten in between); and the start of
// a game as text.
#include <gtest/gtest.h>

#include <string>

#include "board_builder.h"
#include "model/game/game_controller.h"
#include "model/game/pure_game.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"

namespace {

// Turns the falling piece and moves it towards a column of the piece's own, then steps it
// down until it is fixed; returns where it rested.
void playSomewhere(GameState& state, const GameHost& host, int piece, int& x, int& y,
                   int& rotation) {
    for (int turn = 0; turn < piece % 4; ++turn) rotatePiece(state, host);
    int target = (piece * 7) % BOARD_COLUMNS;
    for (int moved = 0; moved < BOARD_COLUMNS && state.pieceX != target; ++moved)
        state.pieceX < target ? moveRight(state, host) : moveLeft(state, host);
    do {
        x = state.pieceX;
        y = state.pieceY;
        rotation = state.pieceRotation;
        fallStep(state, host);
    } while (state.pieceY == y + 1);
}

TEST(PureGame, PlaysTheControllersGameForEveryAdversary) {
    for (const AdversaryInfo& info : ADVERSARIES) {
        GameState state = freshRecord();
        initGameState(state);
        RecordingHost recording;
        recording.adversary.adversary = info.adversary;
        GameHost host = recordingHostOf(recording);
        for (int game = 1; game <= 2; ++game) {
            GameStart start = nextGameStart(state);
            EXPECT_TRUE(game == 2 || formatGameStart(start) == "0029e2c0.00");
            newGame(state, host);
            PureGame pure = startPureGame(start, info.adversary);
            for (int piece = 0;; ++piece) {
                std::string where = std::string(info.id) + ", game " + std::to_string(game) +
                                    ", piece " + std::to_string(piece);
                MaskBoard board = maskBoardOf(state);
                for (int row = 0; row < BOARD_ROWS; ++row)
                    ASSERT_EQ(board.rows[row], pure.board.rows[row]) << where;
                ASSERT_EQ(state.pieceKind, pure.kind) << where;
                ASSERT_EQ(state.pieceRotation, pure.rotation) << where;
                ASSERT_EQ(state.nextKind, pure.nextKind) << where;
                ASSERT_EQ(state.nextRotation, pure.nextRotation) << where;
                ASSERT_EQ(state.score, pure.score) << where;
                ASSERT_EQ(gameRandomState(), pure.random) << where;
                ASSERT_EQ(isGameActive(state), !pure.over) << where;
                if (pure.over) break;
                int x, y, rotation;
                playSomewhere(state, host, piece, x, y, rotation);
                placeAndAdvance(pure, x, y, rotation);
                ASSERT_EQ(piece + 1, pure.pieces);
            }
        }
    }
}

TEST(GameStart, ReadsAndWritesTheExactFormOnly) {
    GameStart start;
    ASSERT_TRUE(parseGameStart("ffffffff.63", start));
    EXPECT_EQ(0xffffffffu, start.random);
    EXPECT_EQ(6, start.kind);
    EXPECT_EQ(3, start.rotation);
    EXPECT_EQ("ffffffff.63", formatGameStart(start));
    for (const char* bad : {"", "0029e2c0.0", "0029e2c0.000", "0029E2C0.00", "0029e2c0-00",
                            "0029e2c0.70", "0029e2c0.04", "029e2c0.00", " 029e2c0.00"}) {
        start = FRESH_PROGRAM_START;
        EXPECT_FALSE(parseGameStart(bad, start)) << bad;
        EXPECT_EQ("0029e2c0.00", formatGameStart(start)) << bad;
    }
}

}  // namespace
