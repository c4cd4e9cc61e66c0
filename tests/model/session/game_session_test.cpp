// The session under both editions, with a made-up front end and clock: the fall timer's
// rhythm across late alarms, holds and clock jumps, each hold and what releases it,
// coalesced repaints, the end of a game, reported once, the adversary of the next game, the
// recording of every game and why each piece, and a replay watched in front of a game.
#include "model/session/game_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "bot/bot_player.h"
#include "model/rules/game_random.h"

namespace {

constexpr int64_t NO_ALARM = -1;

struct GameSessionTest : ::testing::Test {
    GameSession session;
    int64_t now = 1000;
    int64_t alarm = NO_ALARM;
    int repaints = 0;
    std::vector<std::pair<int32_t, bool>> ends;  // score, new best
    StoredResult found = StoredResult::None;
    BestResult stored;

    static GameSessionTest& of(void* test) { return *static_cast<GameSessionTest*>(test); }
    static void setAlarm(void* test, int64_t atMs) { of(test).alarm = atMs; }
    static void clearAlarm(void* test) { of(test).alarm = NO_ALARM; }
    static void repaint(void* test) { ++of(test).repaints; }
    static StoredResult read(void* test, BestResult& best) {
        best = of(test).stored;
        return of(test).found;
    }
    static void end(void* test, int32_t score, bool newBest) {
        of(test).ends.push_back({score, newBest});
    }
    std::vector<int32_t> watchEnds;  // scores
    static void watchEnd(void* test, int32_t score) { of(test).watchEnds.push_back(score); }
    void SetUp() override {
        restoreGameRandomState(GAME_RANDOM_START);  // each test is a program run of its own
        startSession(session,
                     SessionFrontEnd{this, setAlarm, clearAlarm, repaint, read, end, watchEnd});
    }
    void press(std::initializer_list<SessionKey> keys) {
        for (SessionKey key : keys) sessionKey(session, key, now);
    }
    void hold(HoldCause cause, bool held) { setSessionHold(session, cause, held, now); }
    int pieceRow() const { return session.state.pieceY; }
    // A fall period later, whether the timer's tick moved the piece.
    bool ticks() {
        int row = pieceRow();
        sessionTick(session, now += 500);
        return pieceRow() != row;
    }
    // The fall timer's next tick, when it is due.
    void tickWhenDue() { sessionTick(session, now = std::max(now, session.nextTickMs)); }
    // A tick that falls due while the player's pause holds the game.
    void tickWhilePaused() {
        press({SessionKey::Pause});
        sessionTick(session, now += 2000);
        press({SessionKey::Pause});
    }
};

TEST_F(GameSessionTest, ALateTickIsOneStepInTheTimersRhythmWhateverTheGap) {
    EXPECT_EQ(alarm, NO_ALARM) << "no game, no timer";
    press({SessionKey::NewGame});
    sessionTick(session, 1499);  // an alarm that goes off a little early steps nothing
    EXPECT_EQ(pieceRow(), 0);
    EXPECT_EQ(alarm, 1500);
    sessionTick(session, 4010);  // a process that was stopped five periods
    EXPECT_EQ(pieceRow(), 1);
    EXPECT_EQ(alarm, 4500);
    // While held no alarm is set and the ticks due pass; the next keeps the old phase.
    setSessionHold(session, HoldCause::Hidden, true, 4600);
    EXPECT_EQ(alarm, NO_ALARM);
    EXPECT_TRUE(sessionShowsPause(session));
    setSessionHold(session, HoldCause::Hidden, false, 6200);
    EXPECT_EQ(alarm, 6500);
    EXPECT_EQ(pieceRow(), 1);
    // A jump further than any int64_t difference, from a game started at the clock's far
    // negative end: one step, and the alarm at the clock's end.
    now = INT64_MIN + 10;
    press({SessionKey::NewGame});
    sessionTick(session, INT64_MAX);
    EXPECT_EQ(pieceRow(), 1);
    EXPECT_EQ(alarm, INT64_MAX);
}

TEST_F(GameSessionTest, EachHoldIsReleasedOnlyByItsOwnCauseOrANewGame) {
    press({SessionKey::NewGame, SessionKey::StepDown, SessionKey::Pause});
    hold(HoldCause::Dialog, true);
    press({SessionKey::NewGame});
    hold(HoldCause::Dialog, false);
    hold(HoldCause::TooSmall, true);
    press({SessionKey::NewGame});
    EXPECT_EQ(pieceRow(), 1) << "no new game while a dialog is open or the window too small";
    for (HoldCause cause : {HoldCause::Hidden, HoldCause::Dialog, HoldCause::Focus})
        hold(cause, true);
    for (HoldCause cause : {HoldCause::Dialog, HoldCause::TooSmall, HoldCause::Hidden}) {
        EXPECT_FALSE(ticks());
        hold(cause, false);
    }
    EXPECT_FALSE(ticks()) << "the player's pause and the focus still hold";
    press({SessionKey::Other});  // any key proves the focus
    EXPECT_EQ(session.holds, 1 << int(HoldCause::Player));
    press({SessionKey::Pause});
    EXPECT_TRUE(ticks());

    // A new game releases the player's pause and the focus, and no other hold.
    press({SessionKey::Pause});
    hold(HoldCause::Focus, true);
    hold(HoldCause::Hidden, true);
    press({SessionKey::NewGame});
    EXPECT_EQ(session.holds, 1 << int(HoldCause::Hidden));
    EXPECT_FALSE(ticks());
    hold(HoldCause::Hidden, false);
    EXPECT_TRUE(ticks());
}

// Repaints asked for before a drawing are one, and a change that shows asks for one. (The
// keys play whole games end to end.)
TEST_F(GameSessionTest, RepaintsCoalesce) {
    EXPECT_EQ(repaints, 1) << "the first drawing, before any game";
    press({SessionKey::NewGame, SessionKey::MoveLeft, SessionKey::Rotate, SessionKey::StepDown});
    EXPECT_EQ(repaints, 1);
    markSessionDrawn(session);
    press({SessionKey::StepDown});
    EXPECT_EQ(repaints, 2);
    // The view names the next game's adversary beside the running game's: a choice made
    // mid-game is drawn, and choosing the same one again draws nothing.
    markSessionDrawn(session);
    chooseSessionAdversary(session, Adversary::Zly);
    EXPECT_EQ(repaints, 3);
    markSessionDrawn(session);
    chooseSessionAdversary(session, Adversary::Zly);
    EXPECT_EQ(repaints, 3);
}

// Left to the timer, every piece stacks up in the middle until one no longer fits.
TEST_F(GameSessionTest, AGameEndsOnceWithItsScoreAndWhetherItBeatsTheStore) {
    const struct {
        StoredResult found;
        int32_t stored, score;
        bool newBest;
    } games[] = {{StoredResult::Found, 6, 7, true},
                 {StoredResult::Found, 7, 7, false},
                 {StoredResult::None, 0, 0, false},
                 {StoredResult::Unreadable, 0, 7, false}};
    for (const auto& game : games) {
        found = game.found;
        stored.score = game.stored;
        ends.clear();
        press({SessionKey::NewGame});
        session.state.score = game.score;
        for (int tick = 0; tick < 2000 && ends.empty(); ++tick) ticks();
        EXPECT_EQ(ends, (std::vector<std::pair<int32_t, bool>>{{game.score, game.newBest}}));
        EXPECT_TRUE(session.gameOver);
        EXPECT_EQ(alarm, NO_ALARM) << "a step that ends the game leaves no alarm behind";
        sessionTick(session, now += 5000);
        EXPECT_EQ(ends.size(), 1u);
    }
}

// Each adversary's game, played by the bot through the keys with ticks lost to a pause on
// the way, and every other piece fixed by the timer: the code replays it to the same end,
// the panel names the kind in the preview, and an adversary chosen mid-game waits for the
// next game.
TEST_F(GameSessionTest, EveryGameIsRecordedAndReplaysToTheSameEnd) {
    constexpr SessionKey BOT_KEYS[] = {SessionKey::MoveLeft, SessionKey::MoveRight,
                                       SessionKey::Rotate, SessionKey::StepDown};
    const BotSettings placeFallingPiece{EVOLVED_WEIGHTS, false, false};
    EXPECT_EQ("", sessionReplayCode(session));
    press({SessionKey::NewGame});
    for (int left = 0; left < 6; ++left) press({SessionKey::MoveLeft});  // the wall stops some
    tickWhilePaused();
    press({SessionKey::StepDown});
    EXPECT_EQ("kostrel1.klasicky.0029e2c0.00.l6d", sessionReplayCode(session));

    for (const AdversaryInfo& info : ADVERSARIES) {
        chooseSessionAdversary(session, info.adversary);
        const GameStart start = nextGameStart(session.state);
        press({SessionKey::NewGame});
        chooseSessionAdversary(session, Adversary::Sz);  // for the next game
        EXPECT_EQ(sessionView(session).adversary, info.adversary);
        int64_t pieces = 0;
        for (; !session.gameOver && pieces < 80; ++pieces) {
            BotDecision decision =
                decidePlacement(botViewOfGame(session.state, session.adversary), placeFallingPiece);
            ASSERT_TRUE(decision.found);
            if (pieces % 5 == 0) tickWhilePaused();
            for (BotMove move : decision.moves) press({BOT_KEYS[move]});
            KindScores scores;
            ChoiceShown shown = sessionPieceChoice(session, scores);
            if (info.adversary == Adversary::Klasicky || info.adversary == Adversary::Zly) {
                ASSERT_EQ(shown, ChoiceShown::Scored) << info.id;
                EXPECT_EQ(scores.chosen, session.state.nextKind) << info.id << " piece " << pieces;
            } else {
                EXPECT_EQ(shown, ChoiceShown::Blind) << info.id;
            }
            if (pieces % 2 == 0)
                tickWhenDue();
            else
                press({SessionKey::StepDown});
        }
        Replay replay;
        ReplayError error;
        ASSERT_TRUE(readReplayCode(sessionReplayCode(session), replay, error));
        EXPECT_EQ(replay.adversary, info.adversary);
        EXPECT_EQ(formatGameStart(replay.start), formatGameStart(start));
        const uint32_t random = gameRandomState();
        auto player = std::make_unique<ReplayPlayer>();
        ASSERT_TRUE(replayGame(*player, replay, error)) << replayErrorMessage(error);
        EXPECT_EQ(gameRandomState(), random) << "a replay leaves the game's random state alone";
        EXPECT_EQ(0,
                  std::memcmp(player->state.cells, session.state.cells, sizeof session.state.cells))
            << info.id;
        EXPECT_EQ(player->state.score, session.state.score) << info.id;
        EXPECT_EQ(player->pieces, pieces) << info.id;
        EXPECT_EQ(replayGameOver(*player), session.gameOver) << info.id;
    }
}

// A code of three commands, two ticks and a Down: the commands share the first tick's
// interval, the pause and the speeds move what is left, and stopping brings the game back
// as it was, paused.
TEST_F(GameSessionTest, AReplayIsWatchedAtItsOwnPaceInFrontOfTheHeldGame) {
    press({SessionKey::NewGame, SessionKey::MoveLeft, SessionKey::StepDown});
    GameState game = session.state;
    game.paused = 1;  // as it comes back
    const uint32_t random = gameRandomState();
    const std::string code = sessionReplayCode(session);

    Replay replay;
    ReplayError error;
    ASSERT_TRUE(readReplayCode("kostrel1.sz.0029e2c0.00.lrut2dl", replay, error));
    ASSERT_TRUE(startSessionWatch(session, replay, now = 0, error));
    EXPECT_EQ(sessionView(session).adversary, Adversary::Sz);
    std::vector<int64_t> times;  // of each alarm that went off
    for (int step = 0; step < 6; ++step) {
        if (step == 2) {
            sessionWatchKey(session, WatchKey::Pause, 300);
            EXPECT_EQ(alarm, NO_ALARM);
            EXPECT_TRUE(sessionView(session).paused);
            sessionWatchKey(session, WatchKey::Pause, 1300);  // 375 is due 1000 ms later
        }
        if (step == 4) sessionWatchKey(session, WatchKey::Faster, 1500);  // 2000 comes at 1750
        if (step == 5) sessionWatchKey(session, WatchKey::Slower, 1750);  // d and l in 500 ms
        times.push_back(alarm);
        sessionTick(session, alarm);
    }
    EXPECT_EQ(times, (std::vector<int64_t>{125, 250, 1375, 1500, 1750, 1917}));
    EXPECT_EQ(sessionView(session).state->pieceY, 3);  // two ticks and a Down
    EXPECT_EQ(watchEnds, std::vector<int32_t>{});      // the last "l" is still to come
    for (WatchKey key : {WatchKey::Faster, WatchKey::Slower}) {
        for (int press = 0; press < 10; ++press) sessionWatchKey(session, key, 2000);
        EXPECT_EQ(sessionView(session).watchSpeed, key == WatchKey::Faster ? 6 : -3);
    }
    sessionWatchKey(session, WatchKey::End, 2001);
    EXPECT_EQ(watchEnds, std::vector<int32_t>{0});
    EXPECT_TRUE(sessionView(session).over);
    press({SessionKey::NewGame, SessionKey::MoveLeft});
    EXPECT_EQ(alarm, NO_ALARM) << "no new game and no move while watching";

    sessionWatchKey(session, WatchKey::Stop, 2002);
    EXPECT_EQ(session.holds, 1 << int(HoldCause::Player));
    EXPECT_EQ(0, std::memcmp(&session.state, &game, sizeof game));
    EXPECT_EQ(gameRandomState(), random);
    EXPECT_EQ(sessionReplayCode(session), code);
    EXPECT_EQ(sessionView(session).state, &session.state);
    EXPECT_EQ(watchEnds.size(), 1u);

    // A code that goes on after the game's end is refused before anything changes.
    ASSERT_TRUE(readReplayCode("kostrel1.klasicky.0029e2c0.00.t9999", replay, error));
    EXPECT_FALSE(startSessionWatch(session, replay, now, error));
    EXPECT_EQ("bad replay: events after the game's end at character 31", replayErrorMessage(error));
    EXPECT_FALSE(sessionView(session).watching);
}

}  // namespace
