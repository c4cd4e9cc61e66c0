// The session's host for the controller, its fall clock, holds and watch. Every call of the
// controller passes through play() or playEvent(), at the time of the event that causes it;
// every public call ends in finishCall(), which sets the front end's alarm and reports the
// end of a game or of a watch.
#include "model/session/game_session.h"

#include <cstdint>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/session/game_recorder.h"

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
    session.scoreText = text;
    wantRepaint(session);
}

void setPreviewWord(void* context, uint32_t preview, uint32_t word) {
    GameSession& session = sessionOf(context);
    if (preview != PREVIEW) return;
    session.previewWord = word;
    wantRepaint(session);
}

int32_t nextKind(void* context, const GameState& state, int32_t fallingKind) {
    GameSession& session = sessionOf(context);
    return chooseNextKindKept(session.adversary, session.choice, state, fallingKind);
}

void startingGame(void* context) {
    GameSession& session = sessionOf(context);
    session.adversary.adversary = session.nextAdversary;
    startAdversaryGame(session.adversary);
}

// The way to the controller for everything but the game's events.
int32_t play(GameSession& session, uint32_t code, int64_t nowMs, uint32_t argument = 0) {
    session.nowMs = nowMs;
    return applyGameCommand(session.state, session.host, code, argument);
}

// The way for the game's events, which the recording keeps.
void playEvent(GameSession& session, ReplayEvent event, int64_t nowMs) {
    session.nowMs = nowMs;
    playRecorded(session.recording, session.state, session.host, event);
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
    if (session.holds &
        (bitOf(HoldCause::Dialog) | bitOf(HoldCause::TooSmall) | bitOf(HoldCause::Watching)))
        return;
    session.holds &= ~(bitOf(HoldCause::Player) | bitOf(HoldCause::Focus));
    session.gameOver = false;
    startRecording(session.recording, session.state, session.nextAdversary);
    session.gameStarted = true;
    play(session, CMD_NEW_GAME, nowMs);
    session.pauseApplied = false;  // the new game cleared the controller's pause
    applyHolds(session, nowMs);    // a hidden page holds the new game at once
}

// The replay stands still while the player pauses it or a hold other than the game's own
// pause and the watch itself keeps the session still.
void followWatchHolds(GameSession& session) {
    if (!session.watching) return;
    const uint8_t gameOnly = bitOf(HoldCause::Player) | bitOf(HoldCause::Watching);
    bool stopped = session.watchPaused || (session.holds & ~gameOnly) != 0;
    if (stopped != session.watch.stopped) wantRepaint(session);  // the pause shows or goes
    stopReplayWatch(session.watch, stopped, session.nowMs);
}

// When the front end should call sessionTick next: the fall timer's tick while the game
// runs, the replay's next event while one is watched.
bool wantedAlarm(const GameSession& session, int64_t& atMs) {
    if (session.watching) return replayWatchWake(session.watch, atMs);
    atMs = session.nextTickMs;
    return session.timerRunning && session.holds == 0;
}

// The alarm is told again when it has gone off, else only when it changes.
void finishCall(GameSession& session, bool alarmWentOff = false) {
    const SessionFrontEnd& frontEnd = session.frontEnd;
    followWatchHolds(session);
    int64_t atMs = 0;
    bool alarmWanted = wantedAlarm(session, atMs);
    bool alarmKept = session.alarmSet && !alarmWentOff;
    if (alarmWanted && !(alarmKept && session.alarmMs == atMs)) {
        session.alarmSet = true;
        session.alarmMs = atMs;
        frontEnd.setAlarm(frontEnd.context, session.alarmMs);
    } else if (!alarmWanted && (alarmKept || alarmWentOff)) {
        session.alarmSet = false;
        frontEnd.clearAlarm(frontEnd.context);
    }
    if (session.watching && !session.watchEndReported && replayWatchFinished(session.watch)) {
        session.watchEndReported = true;
        frontEnd.watchEnded(frontEnd.context, session.watch.player.state.score);
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
    session.host =
        GameHost{&session,     startFallTimer, stopFallTimer, notifyGameOver, requestRepaint,
                 setScoreText, setPreviewWord, nextKind,      startingGame};
    session.nextAdversary = DEFAULT_ADVERSARY;
    session.adversary.adversary = DEFAULT_ADVERSARY;
    session.scoreText = "0";
    initGameState(session.state);
    play(session, CMD_SET_SCORE_LABEL, 0, SCORE_LABEL);
    play(session, CMD_SET_PREVIEW, 0, PREVIEW);
    wantRepaint(session);
}

void sessionKey(GameSession& session, SessionKey key, int64_t nowMs) {
    session.nowMs = nowMs;
    hold(session, HoldCause::Focus, false, nowMs);
    if (session.watching) key = SessionKey::Other;
    switch (key) {
    case SessionKey::MoveLeft: playEvent(session, ReplayEvent::Left, nowMs); break;
    case SessionKey::MoveRight: playEvent(session, ReplayEvent::Right, nowMs); break;
    case SessionKey::Rotate: playEvent(session, ReplayEvent::Up, nowMs); break;
    case SessionKey::StepDown: playEvent(session, ReplayEvent::Down, nowMs); break;
    case SessionKey::NewGame: startNewGame(session, nowMs); break;
    case SessionKey::Pause:
        hold(session, HoldCause::Player, !sessionHeldBy(session, HoldCause::Player), nowMs);
        break;
    case SessionKey::Other: break;
    }
    finishCall(session);
}

void sessionTick(GameSession& session, int64_t nowMs) {
    session.nowMs = nowMs;
    if (session.timerRunning && session.holds == 0 && session.nextTickMs <= nowMs) {
        session.nextTickMs = tickAfter(session.nextTickMs, nowMs);
        playEvent(session, ReplayEvent::Tick, nowMs);  // the same step as the Down key
    }
    if (session.watching && advanceReplayWatch(session.watch, nowMs)) wantRepaint(session);
    finishCall(session, true);
}

void setSessionHold(GameSession& session, HoldCause cause, bool held, int64_t nowMs) {
    session.nowMs = nowMs;
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

void chooseSessionAdversary(GameSession& session, Adversary adversary) {
    if (adversary == session.nextAdversary) return;
    session.nextAdversary = adversary;
    wantRepaint(session);  // the view names the next game's, before or beside the game's own
}

std::string sessionReplayCode(const GameSession& session) {
    return session.gameStarted ? writeReplayCode(session.recording) : std::string();
}

ChoiceShown sessionPieceChoice(GameSession& session, KindScores& scores) {
    if (session.watching)
        return explainChoice(session.watch.player.adversary, session.watch.player.choice, scores);
    return explainChoice(session.adversary, session.choice, scores);
}

bool startSessionWatch(GameSession& session, const Replay& replay, int64_t nowMs,
                       ReplayError& error) {
    session.nowMs = nowMs;
    if (!startReplayWatch(session.watch, replay, nowMs, error)) return false;
    session.watching = true;
    session.watchPaused = false;
    session.watchEndReported = false;
    hold(session, HoldCause::Watching, true, nowMs);
    wantRepaint(session);
    finishCall(session);
    return true;
}

void sessionWatchKey(GameSession& session, WatchKey key, int64_t nowMs) {
    session.nowMs = nowMs;
    if (!session.watching) return;
    hold(session, HoldCause::Focus, false, nowMs);  // a key proves the focus
    switch (key) {
    case WatchKey::Pause: session.watchPaused = !session.watchPaused; break;
    case WatchKey::Faster: changeReplayWatchSpeed(session.watch, 1, nowMs); break;
    case WatchKey::Slower: changeReplayWatchSpeed(session.watch, -1, nowMs); break;
    case WatchKey::End: finishReplayWatch(session.watch); break;
    case WatchKey::Stop:
        session.watching = false;
        session.watch.player.replay = Replay{};  // a long code's memory goes
        // The game comes back under the player's pause, so that it goes on only when the
        // player says so; one that was not running stays as it was.
        if (session.timerRunning) session.holds |= bitOf(HoldCause::Player);
        hold(session, HoldCause::Watching, false, nowMs);
        break;
    }
    wantRepaint(session);
    finishCall(session);
}

SessionView sessionView(const GameSession& session) {
    if (session.watching) {
        const ReplayPlayer& player = session.watch.player;
        return SessionView{&player.state,
                           player.previewWord,
                           player.scoreText.c_str(),
                           player.adversary.adversary,
                           true,
                           session.watch.stopped,
                           replayWatchFinished(session.watch),
                           session.watch.speed};
    }
    return SessionView{&session.state,
                       session.previewWord,
                       session.scoreText.c_str(),
                       session.gameStarted ? session.adversary.adversary : session.nextAdversary,
                       false,
                       sessionShowsPause(session),
                       session.gameOver,
                       0};
}
