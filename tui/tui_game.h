// The terminal edition's one board view: a game record played through a recording host,
// with the fall timer kept on the monotonic clock of the terminal loop.
#pragma once

#include <cstdint>

#include "model/game/game_command.h"
#include "model/game/recording_host.h"
#include "model/rules/game_state.h"

struct TuiGame {
    GameState state;
    RecordingHost recording;
    int64_t nextTickMs = 0;  // the fall timer's next tick, while it runs
    // The host's timer starts, game-over notices and repaint requests acted on so far.
    int64_t startsSeen = 0;
    int64_t gameOversSeen = 0;
    int64_t repaintsSeen = 0;
};

// True when the host's `count` has moved on from `seen`, which then catches up.
inline bool takeNew(int64_t count, int64_t& seen) {
    bool moved = count != seen;
    seen = count;
    return moved;
}

// A fresh record, linked to the stand-in score label and preview.
void startTuiGame(TuiGame& game);
// Applies a GameCommand code at nowMs, the fall timer's rhythm starting when it starts.
int32_t commandGame(TuiGame& game, uint32_t code, int64_t nowMs);
// One fall step when a tick is due, however many fell due since: a Windows timer does not
// queue missed ticks, and the next one comes in the timer's old rhythm.
void passDueTicks(TuiGame& game, int64_t nowMs);
