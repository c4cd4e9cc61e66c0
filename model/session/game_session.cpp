// The session's host for the controller, its fall clock and holds. Every call of the
// controller passes through play(), at the time of the event that causes it; every public
// call ends in finishCall(), which sets the front end's alarm and reports a game's end.
#include "model/session/game_session.h"

#include <cstdint>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"

namespace {

// Nonzero handle words of the front end's score label and preview, as the record keeps them.
constexpr uint32_t SCORE_LABEL = 1;
constexpr uint32_t PREVIEW = 2;
constexpr uint32_t FALL_TIMER_RUNNING = 1;

GameSession& sessionOf(void* context) { return *static_cast<GameSession*>(context); }

uint8_t bitOf(HoldCause cause) { return static_cast<uint8_t>(1u << static_cast<unsigned>(cause)); }

// at + byMs (byMs >= 0), held at the clock's end instead of overflowing.
int64_t laterMs(int64_t at, int64_t byMs) { return at > INT64_MAX - byMs ? INT64_MAX : at + byMs; }

// The first tick after nowMs in the rhythm of a tick due at dueMs <= nowMs. The distance is
// taken as unsigned, where it fits whatever the two times are.
int64_t tickAfter(int64_t dueMs, int64_t nowMs) {
    uint64_t late = static_cast<uint64_t>(nowMs) - static_cast<uint64_t>(dueMs);
    return laterMs(nowMs, FALL_INTERVAL_MS - static_cast<int64_t>(late % FALL_INTERVAL_MS));
}

void wantRepaint(GameSession& session) {
    if (session.repaintWanted) return;
    session.repaintWanted = true;
    session.frontEnd.repaint(session.frontEnd.context);
}

uint32_t startFallTimer(void* context) {
    GameSession& session = sessionOf(context);
    session.timerRunning = true;
    session.nextTickMs = laterMs(session.nowMs, FALL_INTERVAL_MS);
    return FALL_TIMER_RUNNING;
}

void stopFallTimer(void* context) { sessionOf(context).timerRunning = false; }

void notifyGameOver(void* context) { sessionOf(context).endPending = true; }

void requestRepaint(void* context) { wantRepaint(sessionOf(context)); }

void setScoreText(void* context, uint32_t label, const char* text) {
    GameSession& session = sessionOf(context);
    if (label != SCORE_LABEL) return;
    size_t length = 0;
    for (; text[length] != '\0' && length + 1 < sizeof session.scoreText; ++length)
        session.scoreText[length] = text[length];
    session.scoreText[length] = '\0';
    wantRepaint(session);
}

void setPreviewWord(void* context, uint32_t preview, uint32_t word) {
    GameSession& session = sessionOf(context);
    if (preview != PREVIEW) return;
    session.previewWord = word;
    wantRepaint(session);
}

// The one way to the controller: a recorder of games goes here.
int32_t play(GameSession& session, uint32_t code, int64_t nowMs, uint32_t argument = 0) {
    session.nowMs = nowMs;
    return applyGameCommand(session.state, session.host, code, argument);
}

// The ticks that fell due by nowMs pass without a step.
void passDueTicks(GameSession& session, int64_t nowMs) {
    if (session.timerRunning && session.nextTickMs <= nowMs)
        session.nextTickMs = tickAfter(session.nextTickMs, nowMs);
}

// Tells the controller to pause or resume when the holds have come to say otherwise.
void applyHolds(GameSession& session, int64_t nowMs) {
    bool held = session.holds != 0;
    if (held == session.pauseApplied) return;
    if (!held) passDueTicks(session, nowMs);
    play(session, held ? CMD_PAUSE : CMD_RESUME, nowMs);
    session.pauseApplied = held;
    wantRepaint(session);  // the pause shows or goes
}

void hold(GameSession& session, HoldCause cause, bool held, int64_t nowMs) {
    session.holds = held ? session.holds | bitOf(cause) : session.holds & ~bitOf(cause);
    applyHolds(session, nowMs);
}

void startNewGame(GameSession& session, int64_t nowMs) {
    if (sessionHeldBy(session, HoldCause::Dialog) || sessionHeldBy(session, HoldCause::TooSmall))
        return;
    session.holds &= ~(bitOf(HoldCause::Player) | bitOf(HoldCause::Focus));
    session.gameOver = false;
    play(session, CMD_NEW_GAME, nowMs);
    session.pauseApplied = false;  // the new game cleared the controller's pause
    applyHolds(session, nowMs);    // a hidden page holds the new game at once
}

// The alarm is told again when it has gone off, else only when it changes.
void finishCall(GameSession& session, bool alarmWentOff = false) {
    const SessionFrontEnd& frontEnd = session.frontEnd;
    bool alarmWanted = session.timerRunning && session.holds == 0;
    bool alarmKept = session.alarmSet && !alarmWentOff;
    if (alarmWanted && !(alarmKept && session.alarmMs == session.nextTickMs)) {
        session.alarmSet = true;
        session.alarmMs = session.nextTickMs;
        frontEnd.setAlarm(frontEnd.context, session.alarmMs);
    } else if (!alarmWanted && (alarmKept || alarmWentOff)) {
        session.alarmSet = false;
        frontEnd.clearAlarm(frontEnd.context);
    }
    if (!session.endPending) return;
    session.endPending = false;
    session.gameOver = true;
    int32_t score = play(session, CMD_GET_SCORE, session.nowMs);
    BestResult stored;
    StoredResult found = frontEnd.readBestResult(frontEnd.context, stored);
    frontEnd.gameEnded(frontEnd.context, score, isNewBestResult(score, found, stored));
}

}  // namespace

void startSession(GameSession& session, const SessionFrontEnd& frontEnd) {
    session = GameSession{};
    session.frontEnd = frontEnd;
    session.host = GameHost{&session,       startFallTimer, stopFallTimer,  notifyGameOver,
                            requestRepaint, setScoreText,   setPreviewWord, nullptr};
    session.scoreText[0] = '0';
    initGameState(session.state);
    play(session, CMD_SET_SCORE_LABEL, 0, SCORE_LABEL);
    play(session, CMD_SET_PREVIEW, 0, PREVIEW);
    wantRepaint(session);
}

void sessionKey(GameSession& session, SessionKey key, int64_t nowMs) {
    hold(session, HoldCause::Focus, false, nowMs);
    switch (key) {
    case SessionKey::MoveLeft: play(session, CMD_MOVE_LEFT, nowMs); break;
    case SessionKey::MoveRight: play(session, CMD_MOVE_RIGHT, nowMs); break;
    case SessionKey::Rotate: play(session, CMD_ROTATE, nowMs); break;
    case SessionKey::StepDown: play(session, CMD_STEP_DOWN, nowMs); break;
    case SessionKey::NewGame: startNewGame(session, nowMs); break;
    case SessionKey::Pause:
        hold(session, HoldCause::Player, !sessionHeldBy(session, HoldCause::Player), nowMs);
        break;
    case SessionKey::Other: break;
    }
    finishCall(session);
}

void sessionTick(GameSession& session, int64_t nowMs) {
    if (session.timerRunning && session.holds == 0 && session.nextTickMs <= nowMs) {
        session.nextTickMs = tickAfter(session.nextTickMs, nowMs);
        play(session, CMD_STEP_DOWN, nowMs);  // a tick is the same step as the Down key
    }
    finishCall(session, true);
}

void setSessionHold(GameSession& session, HoldCause cause, bool held, int64_t nowMs) {
    hold(session, cause, held, nowMs);
    finishCall(session);
}

bool sessionHeldBy(const GameSession& session, HoldCause cause) {
    return (session.holds & bitOf(cause)) != 0;
}

bool sessionShowsPause(const GameSession& session) {
    return session.timerRunning && session.holds != 0;
}

void markSessionDrawn(GameSession& session) { session.repaintWanted = false; }
