// The watch's schedule: stretches from tick to tick, each event's time worked out from the
// stretch's start so that no rounding adds up, and stops and speed changes that move it.
#include "model/session/replay_watch.h"

#include <algorithm>

#include "model/game/game_controller.h"

namespace {

constexpr int64_t UNITS_PER_MS = 64;
constexpr int64_t TICK_UNITS = FALL_INTERVAL_MS * UNITS_PER_MS;  // at speed 1
constexpr int64_t COMMAND_UNITS = 25 * UNITS_PER_MS;             // the closest spacing, at speed 1
constexpr int64_t FRAME_UNITS = 16 * UNITS_PER_MS;
constexpr int64_t LATE_UNITS = 500 * UNITS_PER_MS;  // later than this is a pause, at any speed
constexpr uint64_t LONGEST_MS = uint64_t{1} << 50;  // a watch older than this is that old

// `units` at speed 1 at the watch's speed.
int64_t atSpeed(const ReplayWatch& watch, int64_t units) {
    return watch.speed >= 0 ? units >> watch.speed : units << -watch.speed;
}

int64_t unitsAt(const ReplayWatch& watch, int64_t nowMs) {
    if (nowMs <= watch.originMs) return 0;
    const uint64_t elapsed = static_cast<uint64_t>(nowMs) - static_cast<uint64_t>(watch.originMs);
    return static_cast<int64_t>(std::min(elapsed, LONGEST_MS)) * UNITS_PER_MS;
}

// Few events share a tick's interval evenly; more go at the closest spacing.
bool evenlyInTick(const ReplayWatch& watch) {
    return (watch.stretchCommands + 1) * COMMAND_UNITS <= TICK_UNITS;
}

// When the next event of the stretch falls due.
int64_t nextDue(const ReplayWatch& watch) {
    const int64_t slots = watch.stretchCommands + 1;
    const int64_t slot = watch.stretchPlayed + 1;  // the tick is the last
    if (evenlyInTick(watch)) return watch.stretchStart + slot * atSpeed(watch, TICK_UNITS) / slots;
    return watch.stretchStart + slot * atSpeed(watch, COMMAND_UNITS);
}

void beginStretch(ReplayWatch& watch, int64_t start) {
    watch.stretchStart = start;
    watch.stretchPlayed = 0;
    watch.stretchCommands = commandsBeforeTick(watch.player, watch.stretchTicks);
}

}  // namespace

bool startReplayWatch(ReplayWatch& watch, const Replay& replay, int64_t nowMs, ReplayError& error) {
    int32_t score = 0;  // the watch in progress goes on if the code is refused
    if (!replayFinalScore(replay, score, error)) return false;
    startReplayPlayer(watch.player, replay);
    watch.originMs = nowMs;
    watch.lastPlayed = -FRAME_UNITS;
    watch.speed = 0;
    watch.stopped = false;
    watch.stoppedAt = 0;
    beginStretch(watch, 0);
    return true;
}

bool advanceReplayWatch(ReplayWatch& watch, int64_t nowMs) {
    if (watch.stopped || replayWatchFinished(watch)) return false;
    const int64_t now = unitsAt(watch, nowMs);
    const int64_t late = now - nextDue(watch);
    if (late < 0) return false;
    if (late > LATE_UNITS) watch.stretchStart += late;
    ReplayError error;  // none: the code was replayed to its end before watching began
    while (!replayWatchFinished(watch) && nextDue(watch) <= now) {
        const int64_t due = nextDue(watch);
        ReplayEvent event = ReplayEvent::Tick;
        peekReplayEvent(watch.player, event);
        playReplayEvent(watch.player, error);
        if (event == ReplayEvent::Tick)
            beginStretch(watch, due);
        else
            ++watch.stretchPlayed;
    }
    watch.lastPlayed = now;
    return true;
}

bool replayWatchWake(const ReplayWatch& watch, int64_t& atMs) {
    if (watch.stopped || replayWatchFinished(watch)) return false;
    const int64_t due = std::max(nextDue(watch), watch.lastPlayed + FRAME_UNITS);
    const int64_t ms = (due + UNITS_PER_MS - 1) / UNITS_PER_MS;
    atMs = watch.originMs > INT64_MAX - ms ? INT64_MAX : watch.originMs + ms;
    return true;
}

void stopReplayWatch(ReplayWatch& watch, bool stopped, int64_t nowMs) {
    if (stopped == watch.stopped) return;
    const int64_t now = unitsAt(watch, nowMs);
    if (!stopped) {
        watch.stretchStart += now - watch.stoppedAt;
        watch.lastPlayed += now - watch.stoppedAt;
    }
    watch.stopped = stopped;
    watch.stoppedAt = now;
}

void changeReplayWatchSpeed(ReplayWatch& watch, int32_t step, int64_t nowMs) {
    const int32_t speed = std::clamp(watch.speed + step, WATCH_SPEED_SLOWEST, WATCH_SPEED_FASTEST);
    if (speed == watch.speed) return;
    // Every time still to come in the stretch keeps its distance from now, times the factor.
    const int64_t now = watch.stopped ? watch.stoppedAt : unitsAt(watch, nowMs);
    const int64_t since = now - watch.stretchStart;
    watch.stretchStart = now - (speed > watch.speed ? since / 2 : since * 2);
    watch.speed = speed;
}

void finishReplayWatch(ReplayWatch& watch) {
    ReplayError error;  // none: the code was replayed to its end before watching began
    playReplayToEnd(watch.player, error);
}

bool replayWatchFinished(const ReplayWatch& watch) { return replayFinished(watch.player); }
