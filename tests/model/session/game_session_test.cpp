// The session under both editions, with a made-up front end and clock: the fall timer's
// rhythm across late alarms, holds and clock jumps, each hold and what releases it,
// coalesced repaints, and the end of a game, reported once.
#include "model/session/game_session.h"

#include <gtest/gtest.h>

#include <vector>

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
    void SetUp() override {
        restoreGameRandomState(GAME_RANDOM_START);  // each test is a program run of its own
        startSession(session, SessionFrontEnd{this, setAlarm, clearAlarm, repaint, read, end});
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

// Repaints asked for before a drawing are one. (The keys play whole games end to end.)
TEST_F(GameSessionTest, RepaintsCoalesce) {
    EXPECT_EQ(repaints, 1) << "the first drawing, before any game";
    press({SessionKey::NewGame, SessionKey::MoveLeft, SessionKey::Rotate, SessionKey::StepDown});
    EXPECT_EQ(repaints, 1);
    markSessionDrawn(session);
    press({SessionKey::StepDown});
    EXPECT_EQ(repaints, 2);
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

}  // namespace
