// The bot at the controls: it takes a row that is there to take, and lands where it planned.
// (That a bot run repeats to the last number is kostrel_sim_test's.)
#include <gtest/gtest.h>

#include <tuple>

#include "board_builder.h"
#include "bot/bot_player.h"
#include "chooser/next_piece_chooser.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"

namespace {

// A running game whose falling piece and preview are set by the test.
GameState runningGame(const GameHost& host, int kind, int rotation, int nextKind) {
    GameState state = freshRecord();
    initGameState(state);
    newGame(state, host);
    state.pieceKind = kind;
    state.pieceRotation = rotation;
    state.nextKind = nextKind;
    state.nextRotation = 0;
    return state;
}

TEST(BotPlayer, CompletesTheRowThatThePieceCanComplete) {
    struct Case {
        int kind;
        int rotation;
        const char* bottom;
    };
    // The gap is at the far wall, needs a turn, or lies under the entry column.
    const Case cases[] = {
        {6, 0, "#########."}, {6, 1, "#########."}, {0, 0, "##.#######"},
        {2, 0, "####..####"}, {5, 0, ".#########"},
    };
    for (const Case& c : cases) {
        RecordingHost recording;
        GameHost host = recordingHostOf(recording);
        GameState state = runningGame(host, c.kind, c.rotation, 2);
        setRow(state, 19, c.bottom);
        if (c.kind == 2) setRow(state, 18, c.bottom);
        ASSERT_EQ(PIECE_PLAYED, playOnePiece(state, host, defaultBotSettings(), nullptr));
        EXPECT_EQ(c.kind == 2 ? 2 : 1, state.score) << "kind " << c.kind;  // the square fills two
    }
}

TEST(BotPlayer, LandsWhereItPlannedFixesWhatItPlannedAndForeseesTheAdversary) {
    BotSettings deepest = defaultBotSettings();
    deepest.predictAdversary = true;  // the longest search: every path of it must hold
    for (bool uniform : {false, true}) {
        RecordingHost recording;
        recording.nextKind = uniform ? uniformNextKind : nullptr;
        GameHost host = recordingHostOf(recording);
        GameState state = freshRecord();
        initGameState(state);
        newGame(state, host);
        for (int piece = 0; piece < 150 && isGameActive(state); ++piece) {
            BotDecision plan = decidePlacement(botViewOfGame(state), deepest);
            ASSERT_TRUE(plan.found);
            // A line of three placements was scored: a search that never reached the third
            // piece leaves only the losing score.
            EXPECT_GT(plan.score, -1e6) << "piece " << piece;
            // What the bot's own model says the board becomes, and the adversary's answer.
            MaskBoard expected = maskBoardOf(state);
            lockPieceMasks(expected, pieceMask(state.pieceKind, plan.placement.rotation),
                           plan.placement.x, plan.placement.y);
            removeFullRows(expected);
            int32_t foreseen = chooseNextKind(expected, state.nextKind);
            Placement landed{};
            ASSERT_EQ(PIECE_PLAYED, playOnePiece(state, host, deepest, &landed));
            EXPECT_EQ(std::make_tuple(plan.placement.x, plan.placement.y, plan.placement.rotation),
                      std::make_tuple(landed.x, landed.y, landed.rotation))
                << "piece " << piece;
            MaskBoard actual = maskBoardOf(state);
            for (int row = 0; row < BOARD_ROWS; ++row)
                ASSERT_EQ(expected.rows[row], actual.rows[row])
                    << "piece " << piece << " row " << row;
            ASSERT_EQ(expected.top, actual.top) << "piece " << piece;
            if (!uniform) {
                EXPECT_EQ(foreseen, state.nextKind) << "piece " << piece;
            }
        }
    }
}

}  // namespace
