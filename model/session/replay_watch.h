// Watching a replay at its own pace, on the front end's clock: one tick every 500 ms at
// speed 1, and the other events between two ticks spaced evenly (Down like the rest). A
// stretch between ticks with more events than fit at 25 ms apart is drawn out to that
// spacing, so that a code without ticks (a bot's or the attacker's game) can be followed.
// It can stop and go on, go twice as fast or half as fast, and jump to its end.
#pragma once

#include <cstdint>

#include "model/session/replay_player.h"

constexpr int32_t WATCH_SPEED_SLOWEST = -3;  // 1/8, as a power of two
constexpr int32_t WATCH_SPEED_FASTEST = 6;   // 64 times

// A plain record that must stay where startReplayWatch put it, as its player. Times are in
// 1/64 ms since the watch began, which keeps every spacing at every speed exact.
struct ReplayWatch {
    ReplayPlayer player;
    int64_t originMs;         // the front end's clock when the watch began
    int64_t stretchStart;     // when the events since the last tick began to be due
    int64_t stretchCommands;  // events other than ticks in the stretch, before its tick
    int64_t stretchPlayed;    // of them played
    bool stretchTicks;        // a tick ends the stretch; otherwise the code does
    int64_t lastPlayed;       // when events were last played
    int32_t speed;            // 2 to this power
    bool stopped;             // the player paused it, or the session holds it
    int64_t stoppedAt;        // since when
};

// Starts watching the code at nowMs: false, with the reason, when it does not replay to its
// end (events after the game's end), checked before anything is shown.
bool startReplayWatch(ReplayWatch& watch, const Replay& replay, int64_t nowMs, ReplayError& error);

// Plays the events due by nowMs, unless stopped; true when it played any. A call more than
// 500 ms later than the next event (the process was stopped) plays that event and goes on in
// the same rhythm from there, as the fall clock does.
bool advanceReplayWatch(ReplayWatch& watch, int64_t nowMs);

// When the next event falls due, no sooner than a frame (16 ms) after the last events were
// played; false while stopped or once every event has been played.
bool replayWatchWake(const ReplayWatch& watch, int64_t& atMs);

// Stops or goes on; the events keep their spacing across the stop.
void stopReplayWatch(ReplayWatch& watch, bool stopped, int64_t nowMs);

// One step faster (+1) or slower (-1), within 1/8 and 64 times; what is left of the
// stretch in progress is spaced at the new speed from nowMs on.
void changeReplayWatchSpeed(ReplayWatch& watch, int32_t step, int64_t nowMs);

// Every event left, at once.
void finishReplayWatch(ReplayWatch& watch);

bool replayWatchFinished(const ReplayWatch& watch);
