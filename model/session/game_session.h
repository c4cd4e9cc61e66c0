// One game as the terminal and browser editions run it: the game record with this session as
// its host, the adversary chosen for the next game, the fall clock in the Windows timer's
// rhythm, the holds that keep the game still, the recording of every game, the end of a
// game, reported once, and the watching of a replay in front of a game held meanwhile. A
// front end turns its keys and its monotonic clock into the calls below, draws what
// sessionView shows when asked to, sets the alarm it is given, and keeps the best results,
// the replay codes and the chosen adversary in its own stores.
#pragma once

#include <cstdint>
#include <string>

#include "chooser/kind_scores.h"
#include "model/game/game_adversary.h"
#include "model/game/game_host.h"
#include "model/rules/game_state.h"
#include "model/session/best_result.h"
#include "model/session/piece_choice.h"
#include "model/session/replay_code.h"
#include "model/session/replay_watch.h"

// What holds the game still. The game runs only while none holds, and each is released
// only by its own cause, except that a new game releases the player's pause and the focus.
enum class HoldCause : uint8_t {
    Player,    // the player's pause key, or a stopped process
    Focus,     // the window lost the focus
    Hidden,    // the page is hidden
    TooSmall,  // the window is too small to show the game
    Dialog,    // a message box or the name prompt is open
    Watching,  // a replay is watched in front of the game
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
    // thing that the call which ended it does, like a posted message. Its replay code is
    // sessionReplayCode's until the next new game.
    void (*gameEnded)(void* context, int32_t score, bool newBest);
    // The watched replay has been played to its end with `score`: once per watch, in the
    // same way. A watched game never touches the best result.
    void (*watchEnded)(void* context, int32_t score);
};

// A plain record that must stay where startSession put it: its host points at it.
struct GameSession {
    GameState state;
    GameHost host;  // this session, as the controller's host
    SessionFrontEnd frontEnd;
    GameAdversary adversary;  // the game's, with its memory of the game
    Adversary nextAdversary;  // chosen for the next new game
    PieceChoice choice;       // what the adversary saw when it chose the preview's piece
    Replay recording;         // the game so far, since just before its newGame
    bool gameStarted;         // a game has started in this session
    ReplayWatch watch;        // the replay watched, while watching
    bool watching;            // a replay is shown instead of the game, which is held
    bool watchPaused;         // the player paused the replay
    bool watchEndReported;    // watchEnded has been called for this watch
    int64_t nowMs;            // the time of the call in progress
    int64_t nextTickMs;       // the fall timer's next tick, while it runs
    int64_t alarmMs;          // the front end's alarm, while set
    bool timerRunning;        // started by the controller and not stopped since
    bool alarmSet;            // an alarm is set and has not gone off
    uint8_t holds;            // one bit per HoldCause
    bool pauseApplied;        // the controller was last told to pause
    bool repaintWanted;       // asked for and not drawn yet
    bool endPending;          // the controller gave notice of the end, not yet reported
    bool gameOver;            // a game has ended and no new one has started
    std::string scoreText;    // the score label's text
    uint32_t previewWord;     // the next piece, as the preview was last told
};

// A fresh game record, linked to the score label and the preview as the Windows main window
// links them at its creation, and a first drawing asked for. No game runs before the first
// new game.
void startSession(GameSession& session, const SessionFrontEnd& frontEnd);

// A key of the player's at nowMs. Every key proves that the window has the focus and ends a
// focus hold, since some terminals and browsers never report the focus coming back. The
// new game is refused while a dialog is open, the window is too small or a replay is
// watched; while watching, the game's keys do nothing else.
void sessionKey(GameSession& session, SessionKey key, int64_t nowMs);

// The alarm went off, or the front end woke for another reason: one fall step when a tick
// is due, however many fell due since, as a Windows timer does not queue missed ticks, and
// the next tick in the timer's old rhythm. While watching, the replay's events that fell
// due are played instead.
void sessionTick(GameSession& session, int64_t nowMs);

// Sets or releases one hold. While any holds, the controller is paused and no alarm is set;
// the ticks that fall due meanwhile pass without a step, and after the last hold is
// released the next one comes in the timer's old rhythm.
void setSessionHold(GameSession& session, HoldCause cause, bool held, int64_t nowMs);
bool sessionHeldBy(const GameSession& session, HoldCause cause);

// A game runs and something holds it: the view shows it paused.
bool sessionShowsPause(const GameSession& session);

void markSessionDrawn(GameSession& session);

// The adversary of every new game from now on; the game in progress keeps its own.
void chooseSessionAdversary(GameSession& session, Adversary adversary);

// The code of the game so far, from just before its newGame to its last event; at its end,
// the finished game's. Empty before the first game.
std::string sessionReplayCode(const GameSession& session);

// Why the piece in the shown preview: what the shown game's adversary saw when it chose it.
// Computed at the first ask after each choice, so a front end asks only while its panel is
// shown.
ChoiceShown sessionPieceChoice(GameSession& session, KindScores& scores);

// Watches the replay from nowMs on, in front of the game, which a hold keeps still; false,
// with the reason and nothing changed, when the code does not replay to its end. The
// replay stands still while the player pauses it and while any hold other than the
// player's pause holds the session.
bool startSessionWatch(GameSession& session, const Replay& replay, int64_t nowMs,
                       ReplayError& error);

enum class WatchKey {
    Pause,   // pauses the replay, or lets it go on
    Faster,  // twice as fast, up to 64 times
    Slower,  // half as fast, down to 1/8
    End,     // every event left at once
    Stop,    // back to the game, paused if one runs, exactly as it was
};
// A watch key, which also proves the focus, as any key does.
void sessionWatchKey(GameSession& session, WatchKey key, int64_t nowMs);

// What a front end draws, from the game or the watched replay alike.
struct SessionView {
    const GameState* state;  // the grid and the falling piece
    uint32_t previewWord;    // the next piece
    const char* scoreText;   // the score
    Adversary adversary;     // who chooses the pieces of the game shown
    bool watching;           // a replay is shown
    bool paused;             // the game is held, or the replay stands still
    bool over;               // the game has ended, or the replay has been played to its end
    int32_t watchSpeed;      // the replay's speed, 2 to this power
};
SessionView sessionView(const GameSession& session);
