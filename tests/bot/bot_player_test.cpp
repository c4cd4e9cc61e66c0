// The bot at the controls lands where it planned, on the board it foresaw. (That it takes
// the rows there are to take shows in kostrel_sim_test's first game, 10 rows, and in the
// end-to-end plan, which must clear one; that a run repeats is kostrel_sim_test's too.)
#include <gtest/gtest.h>

#include "board_builder.h"
#include "bot/bot_player.h"
#include "chooser/next_piece_chooser.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"

namespace {

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
            // Played is where the plan put it: a drift would be PIECE_DRIFTED.
            ASSERT_EQ(PIECE_PLAYED, playOnePiece(state, host, deepest));
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
