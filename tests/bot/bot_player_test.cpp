// The bot at the controls: it takes a row that is there to take, lands where it planned,
// and a bot run is the same every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "board_builder.h"
#include "bot/bot_player.h"
#include "chooser/next_piece_chooser.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"
#include "tools/sim/kostrel_sim.h"

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
        ASSERT_EQ(PIECE_PLAYED, playOnePiece(state, host, defaultBotSettings()));
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

std::string botRun(std::vector<const char*> arguments, int& status) {
    restoreGameRandomState(1);  // a fresh program each time
    arguments.insert(arguments.begin(), {"kostrel-sim", "bot"});
    std::istringstream in;
    std::ostringstream out, err;
    status = runKostrelSim(static_cast<int>(arguments.size()), arguments.data(), in, out, err);
    EXPECT_EQ("", err.str());
    // The speed at the end of the summary is the only thing allowed to differ.
    std::string text = out.str();
    return text.substr(0, text.rfind(" pieces/s "));
}

TEST(BotRun, TheSameNumbersEveryTime) {
    for (const char* generator : {"adversary", "uniform"}) {
        int first = -1, second = -1;
        std::string a =
            botRun({"--games", "3", "--max-pieces", "60", "--generator", generator}, first);
        std::string b =
            botRun({"--generator", generator, "--max-pieces", "60", "--games", "3"}, second);
        EXPECT_EQ(0, first);
        EXPECT_EQ(0, second);
        EXPECT_EQ(a, b);
        EXPECT_EQ(0u, a.rfind("game 1 rows ", 0)) << a;
        EXPECT_NE(std::string::npos, a.find("\ngames 3 rows mean ")) << a;
    }
    // A game stopped alive at the piece limit says so.
    int status = -1;
    std::string capped =
        botRun({"--games", "2", "--max-pieces", "40", "--generator", "uniform"}, status);
    EXPECT_NE(std::string::npos, capped.find(" pieces 40 capped\ngame 2 ")) << capped;
    // The first game of a program always starts the same way and ends the same way.
    EXPECT_EQ("game 1 rows 10 pieces 65\ngames 1 rows mean 10.00 median 10 max 10",
              botRun({"--depth", "2"}, status));
}

TEST(BotRun, BadOptionsAreRefusedWithStatusTwo) {
    const std::vector<std::vector<const char*>> usages = {
        {"--games"},
        {"--games", "0"},
        {"--games", "-3"},
        {"--games", "ten"},
        {"--games", "012"},
        {"--games", "1x"},
        {"--max-pieces", ""},
        {"--generator", "random"},
        {"--speed", "2"},
        {"--games", "2", "--games", "3"},
        {"--games", "99999999999999999999"},
        {"--depth", "4"},
        {"--depth", "0"},
        {"--weights", "best"},
        {"--generator", "uniform", "--depth", "3"},
    };
    for (const auto& usage : usages) {
        std::vector<const char*> arguments = {"kostrel-sim", "bot"};
        arguments.insert(arguments.end(), usage.begin(), usage.end());
        std::istringstream in;
        std::ostringstream out, err;
        int status =
            runKostrelSim(static_cast<int>(arguments.size()), arguments.data(), in, out, err);
        EXPECT_EQ(2, status) << usage[0];
        EXPECT_EQ("", out.str());
        const std::string message = err.str();
        EXPECT_EQ(0u, message.rfind("kostrel-sim: ", 0));
        EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
    }
}

}  // namespace
