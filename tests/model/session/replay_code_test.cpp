// The replay code: the writer's runs at their limits, codes that read back, walk and record
// again to the same code, and every kind of refused code with its reason and position, from
// the library and from kostrel-sim replay alike.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/rules/game_random.h"
#include "model/session/replay_code.h"
#include "model/session/replay_player.h"
#include "tools/sim/kostrel_sim.h"

namespace {

TEST(ReplayCode, WriterMergesEqualEventsAndCutsRunsAt9999) {
    const struct {
        int32_t ticks;
        const char* events;  // after a Down
    } RUNS[] = {{1, "t"},
                {2, "t2"},
                {10, "t10"},
                {1000, "t1000"},
                {9999, "t9999"},
                {10000, "t9999t"},
                {10001, "t9999t2"},
                {19998, "t9999t9999"},
                {19999, "t9999t9999t"}};
    for (const auto& expected : RUNS) {
        Replay oneByOne{Adversary::Klasicky, FRESH_PROGRAM_START, "d"};
        for (int32_t tick = 0; tick < expected.ticks; ++tick) {
            recordReplayEvents(oneByOne, ReplayEvent::Tick);
        }
        EXPECT_EQ(std::string("d") + expected.events, oneByOne.events) << expected.ticks;
        Replay inTwoParts{Adversary::Klasicky, FRESH_PROGRAM_START, "d"};
        recordReplayEvents(inTwoParts, ReplayEvent::Tick, expected.ticks / 3);
        recordReplayEvents(inTwoParts, ReplayEvent::Tick, expected.ticks - expected.ticks / 3);
        EXPECT_EQ(oneByOne.events, inTwoParts.events) << expected.ticks;
    }

    Replay game{Adversary::Klasicky, FRESH_PROGRAM_START, ""};
    for (ReplayEvent event : {ReplayEvent::Tick, ReplayEvent::Tick, ReplayEvent::Down,
                              ReplayEvent::Left, ReplayEvent::Left, ReplayEvent::Left,
                              ReplayEvent::Right, ReplayEvent::Up, ReplayEvent::Tick}) {
        recordReplayEvents(game, event);
    }
    EXPECT_EQ("kostrel1.klasicky.0029e2c0.00.t2dl3rut", writeReplayCode(game));
    EXPECT_EQ("kostrel1.sz.deadbeef.63.", writeReplayCode({Adversary::Sz, {0xdeadbeef, 6, 3}, ""}));
}

TEST(ReplayCode, ReadsBackWalksAndRecordsAgainToTheSameCode) {
    const std::string CODES[] = {
        "kostrel1.klasicky.0029e2c0.00.",
        "kostrel1.zly.ffffffff.63.t9999t9999tdl17r2u9999",
        "kostrel1.sz.00000001.12.utdtltrt",
        "kostrel1.nahodny.0123abcd.40.t9999t",
    };
    for (const std::string& code : CODES) {
        for (const char* ending : {"", "\n", "\r\n"}) {
            Replay replay;
            ReplayError error;
            ASSERT_TRUE(readReplayCode(code + ending, replay, error)) << replayErrorMessage(error);
            EXPECT_EQ(code, writeReplayCode(replay));
            Replay again{replay.adversary, replay.start, ""};
            ReplayRunCursor cursor = replayRunCursor(replay);
            for (ReplayRun run; nextReplayRun(cursor, run);) {
                EXPECT_EQ(static_cast<char>(run.event), code[run.position - 1]) << code;
                recordReplayEvents(again, run.event, run.count);
            }
            EXPECT_EQ(code, writeReplayCode(again));
        }
    }

    Replay replay;
    ReplayError error;
    ASSERT_TRUE(readReplayCode(CODES[1], replay, error));
    std::string runs;
    ReplayRunCursor cursor = replayRunCursor(replay);
    for (ReplayRun run; nextReplayRun(cursor, run);) {
        runs += static_cast<char>(run.event) + std::to_string(run.count) + "@" +
                std::to_string(run.position) + " ";
    }
    EXPECT_EQ("t9999@26 t9999@31 t1@36 d1@37 l17@38 r2@41 u9999@43 ", runs);
}

// kostrel-sim replay on `code`: its status, standard output and standard error.
std::string simReplay(const std::string& code, int& status, std::string& err) {
    const char* const argv[] = {"kostrel-sim", "replay"};
    std::istringstream in(code);
    std::ostringstream out;
    std::ostringstream errors;
    status = runKostrelSim(2, argv, in, out, errors);
    err = errors.str();
    return out.str();
}

TEST(ReplayCode, RefusesEveryOtherTextWithTheReasonAndTheCharacter) {
    const std::string START = "kostrel1.nahodny.0029e2c0.00.";  // events from character 30
    std::string fiveMegabytesOfTicks = START;
    for (int run = 0; run < 1000000; ++run) fiveMegabytesOfTicks += "t9999";
    const struct {
        std::string code;
        const char* message;
    } BAD[] = {
        {"", "version \"\" instead of \"kostrel1\" at character 1"},
        {"kostrel2.zly.0029e2c0.00.",
         "version \"kostrel2\" instead of \"kostrel1\" at character 1"},
        {"kostrel1", "no \".\" after the version at character 9"},
        {"kostrel1.zl\xc3\xbd.0029e2c0.00.", "unknown adversary \"zl\\xc3\\xbd\" at character 10"},
        {"kostrel1.zly.0029e2c.00.",
         "state \"0029e2c\" of 7 hex digits instead of 8 at character 14"},
        {"kostrel1.zly.0029e2c00.00.",
         "state \"0029e2c00\" of 9 hex digits instead of 8 at character 14"},
        {"kostrel1.zly.0123456789abcdef0.00.",
         "state \"0123456789abcdef...\" of 17 hex digits instead of 8 at character 14"},
        {"kostrel1.zly.0029E2c0.00.", "upper-case hex digit \"E\" in the state at character 18"},
        {"kostrel1.zly.0029e2c0t", "\"t\" in the state instead of a hex digit at character 22"},
        {"kostrel1.zly.0029e2c0.70.", "kind \"7\" instead of 0..6 at character 23"},
        {"kostrel1.zly.0029e2c0.04.", "rotation \"4\" instead of 0..3 at character 24"},
        {"kostrel1.zly.0029e2c0.0.",
         "kind and rotation \"0\" instead of two digits at character 23"},
        {"kostrel1.zly.0029e2c0.00", "no \".\" after the kind and rotation at character 25"},
        {START + "t0", "count \"0\" instead of 2..9999 at character 31"},
        {START + "t1", "count \"1\" instead of 2..9999 at character 31"},
        {START + "dt10000", "count \"10000\" instead of 2..9999 at character 32"},
        {START + "t05", "count \"05\" with a leading zero at character 31"},
        {START + "tt", "unmerged run \"t\" after \"t\" at character 31"},
        {START + "t2t3", "unmerged run \"t3\" after \"t2\" at character 32"},
        {START + "t9998t", "unmerged run \"t\" after \"t9998\" at character 35"},
        {START + "tx", "unknown event \"x\" at character 31"},
        {START + "t d", "unknown event \" \" at character 31"},
        {START + "t\r", "unknown event \"\\r\" at character 31"},
        {START + "t\n\n", "text after the line end at character 32"},
        // Falling pieces alone pile up in the middle and end the game within a few hundred
        // ticks, which a code may not go on after: the refusal names the run.
        {START + "d9999", "events after the game's end at character 30"},
        {START + "lrt9999\r\n", "events after the game's end at character 32"},
        {fiveMegabytesOfTicks, "events after the game's end at character 30"},
    };
    for (const auto& bad : BAD) {
        const std::string shown = bad.code.substr(0, 40);
        const std::string message = std::string("bad replay: ") + bad.message;
        Replay replay{Adversary::Klasicky, FRESH_PROGRAM_START, "u"};
        ReplayError error;
        if (readReplayCode(bad.code, replay, error)) {
            const uint32_t random = gameRandomState();
            auto player = std::make_unique<ReplayPlayer>();
            EXPECT_FALSE(replayGame(*player, replay, error)) << shown;
            EXPECT_EQ(random, gameRandomState());
        } else {
            EXPECT_EQ("u", replay.events) << "a refused code leaves the replay as it was";
        }
        EXPECT_EQ(message, replayErrorMessage(error)) << shown;
        int status = 0;
        std::string err;
        EXPECT_EQ("", simReplay(bad.code, status, err)) << shown;
        EXPECT_EQ(2, status) << shown;
        EXPECT_EQ("kostrel-sim: " + message + "\n", err) << shown;
    }
}

// Runs of moves and turns that cannot change anything, however long, replay at once.
TEST(ReplayCode, ReplaysRunsThatChangeNothingWithoutPlayingThemOut) {
    std::string code = "kostrel1.zly.0029e2c0.00.";
    while (code.size() < 5000000) code += "l9999r9999u9999";
    int status = 0;
    std::string err;
    const std::string out = simReplay(code + "d19\n", status, err);
    EXPECT_EQ(0, status) << err;
    const std::string empty = "..........\n";
    std::string grid;
    for (int row = 0; row < 17; ++row) grid += empty;
    grid += "........#.\n........#.\n........##\n";  // at the right wall, turned three times
    EXPECT_EQ(grid + "adversary zly\nrows 0\npieces 1\nover 0\n", out);
}

}  // namespace
