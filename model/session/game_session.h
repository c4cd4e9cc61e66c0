// One game as the terminal and browser editions run it: the game record with this session as
// its host, the fall clock in the Windows timer's rhythm, the holds that keep the game still
// and the end of a game, reported once. A front end turns its keys and its monotonic clock
// into the calls below, draws what the session shows when asked to, sets the alarm it is
// given, and keeps the best result in its own store.
#pragma once

#include <cstdint>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"
#include "model/session/best_result.h"

// What holds the game still. The game runs only while none holds, and each is released
// only by its own cause, except that a new game releases the player's pause and the focus.
enum class HoldCause : uint8_t {
    Player,    // the player's pause key, or a stopped process
    Focus,     // the window lost the focus
    Hidden,    // the page is hidden
    TooSmall,  // the window is too small to show the game
    Dialog,    // a message box or the name prompt is open
};

// The player's keys, as each front end maps its own; Other is any key that does not play.
enum class SessionKey { MoveLeft, MoveRight, Rotate, StepDown, NewGame, Pause, Other };

// What the session asks of its front end. Times are milliseconds of the front end's
// monotonic clock, the one it passes to the calls below.
struct SessionFrontEnd {
    void* context;
    // Call sessionTick at atMs or soon after, once; replaces the alarm set before. After
    // each sessionTick the alarm is set again or cleared.
    void (*setAlarm)(void* context, int64_t atMs);
    void (*clearAlarm)(void* context);
    // What the session shows has changed: draw it when convenient and then call
    // markSessionDrawn. Not asked again before that, so requests coalesce into one drawing.
    void (*repaint)(void* context);
    // The best result in the front end's store, for the check at the end of a game.
    StoredResult (*readBestResult)(void* context, BestResult& stored);
    // A game is over with `score`, a new best result or not. Once per game, as the last
    // thing that the call which ended it does, like a posted message.
    void (*gameEnded)(void* context, int32_t score, bool newBest);
};

// A plain record that must stay where startSession put it: its host points at it.
struct GameSession {
    GameState state;
    GameHost host;  // this session, as the controller's host
    SessionFrontEnd frontEnd;
    int64_t nowMs;         // the time of the call in progress
    int64_t nextTickMs;    // the fall timer's next tick, while it runs
    int64_t alarmMs;       // the front end's alarm, while set
    bool timerRunning;     // started by the controller and not stopped since
    bool alarmSet;         // an alarm is set and has not gone off
    uint8_t holds;         // one bit per HoldCause
    bool pauseApplied;     // the controller was last told to pause
    bool repaintWanted;    // asked for and not drawn yet
    bool endPending;       // the controller gave notice of the end, not yet reported
    bool gameOver;         // a game has ended and no new one has started
    char scoreText[12];    // the score label's text
    uint32_t previewWord;  // the next piece, as the preview was last told
};

// A fresh game record, linked to the score label and the preview as the Windows main window
// links them at its creation, and a first drawing asked for. No game runs before the first
// new game.
void startSession(GameSession& session, const SessionFrontEnd& frontEnd);

// A key of the player's at nowMs. Every key proves that the window has the focus and ends a
// focus hold, since some terminals and browsers never report the focus coming back. The
// new game is refused while a dialog is open or the window is too small.
void sessionKey(GameSession& session, SessionKey key, int64_t nowMs);

// The alarm went off, or the front end woke for another reason: one fall step when a tick
// is due, however many fell due since, as a Windows timer does not queue missed ticks, and
// the next tick in the timer's old rhythm.
void sessionTick(GameSession& session, int64_t nowMs);

// Sets or releases one hold. While any holds, the controller is paused and no alarm is set;
// the ticks that fall due meanwhile pass without a step, and after the last hold is
// released the next one comes in the timer's old rhythm.
void setSessionHold(GameSession& session, HoldCause cause, bool held, int64_t nowMs);
bool sessionHeldBy(const GameSession& session, HoldCause cause);

// A game runs and something holds it: the view shows it paused.
bool sessionShowsPause(const GameSession& session);

void markSessionDrawn(GameSession& session);
