// The bot at the controls lands where it planned, on the board it foresaw. (That it takes
// the rows there are to take shows in kostrel_sim_test's first game, 10 rows, and in the
// end-to-end plan, which must clear one; that a run repeats is kostrel_sim_test's too.)
#include <gtest/gtest.h>

#include "board_builder.h"
#include "bot/bot_player.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"

namespace {

TEST(BotPlayer, LandsWhereItPlannedFixesWhatItPlannedAndForeseesEveryAdversary) {
    BotSettings deepest = defaultBotSettings();
    deepest.predictAdversary = true;  // the longest search: every path of it must hold
    for (const AdversaryInfo& info : ADVERSARIES) {
        RecordingHost recording;
        recording.adversary.adversary = info.adversary;
        GameHost host = recordingHostOf(recording);
        GameState state = freshRecord();
        initGameState(state);
        newGame(state, host);
        for (int piece = 0; piece < 150 && isGameActive(state); ++piece) {
            BotView view = botViewOfGame(state, recording.adversary);
            BotDecision plan = decidePlacement(view, deepest);
            ASSERT_TRUE(plan.found);
            // A line of three placements was scored: a search that never reached the third
            // piece leaves only the losing score (as does a board near the top, rightly).
            if (view.board.top > 8) {
                EXPECT_GT(plan.score, -1e6) << "piece " << piece;
            }
            // What the bot's own model says the board becomes, and the adversary's answer.
            MaskBoard expected = maskBoardOf(state);
            lockPieceMasks(expected, pieceMask(state.pieceKind, plan.placement.rotation),
                           plan.placement.x, plan.placement.y);
            removeFullRows(expected);
            uint32_t random = view.random;
            int32_t foreseen = pickNextKind(info.adversary, recording.adversary.memory, expected,
                                            state.nextKind, random);
            // Played is where the plan put it: a drift would be PIECE_DRIFTED.
            ASSERT_EQ(PIECE_PLAYED, playOnePiece(state, host, recording.adversary, deepest));
            MaskBoard actual = maskBoardOf(state);
            for (int row = 0; row < BOARD_ROWS; ++row)
                ASSERT_EQ(expected.rows[row], actual.rows[row])
                    << "piece " << piece << " row " << row;
            ASSERT_EQ(expected.top, actual.top) << "piece " << piece;
            EXPECT_EQ(foreseen, state.nextKind) << info.id << ", piece " << piece;
        }
    }
}

}  // namespace
