// The replay code: the writer's runs at their limits, codes that read back, walk and record
// again to the same code, and every kind of refused code with its reason and position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/session/replay_code.h"

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

TEST(ReplayCode, RefusesEveryOtherTextWithTheReasonAndTheCharacter) {
    const std::string START = "kostrel1.nahodny.0029e2c0.00.";  // events from character 30
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
    };
    for (const auto& bad : BAD) {
        Replay replay{Adversary::Klasicky, FRESH_PROGRAM_START, "u"};
        ReplayError error;
        EXPECT_FALSE(readReplayCode(bad.code, replay, error)) << bad.code;
        EXPECT_EQ(std::string("bad replay: ") + bad.message, replayErrorMessage(error)) << bad.code;
        EXPECT_EQ("u", replay.events) << "a refused code leaves the replay as it was";
    }
}

// The reader walks the text once and keeps the runs as they are spelled; a test of its speed
// would be a benchmark's, this one only has to finish.
TEST(ReplayCode, ReadsFiveMegabytesOfTicksWithoutExpandingThem) {
    std::string code = "kostrel1.klasicky.0029e2c0.00.";
    for (int run = 0; run < 1000000; ++run) code += "t9999";
    Replay replay;
    ReplayError error;
    ASSERT_TRUE(readReplayCode(code, replay, error)) << replayErrorMessage(error);
    int64_t ticks = 0;
    ReplayRunCursor cursor = replayRunCursor(replay);
    for (ReplayRun run; nextReplayRun(cursor, run);) ticks += run.count;
    EXPECT_EQ(9999000000, ticks);
    code += '.';
    EXPECT_FALSE(readReplayCode(code, replay, error));
    EXPECT_EQ("bad replay: unknown event \".\" at character 5000031", replayErrorMessage(error));
}

}  // namespace
