// The terminal edition's one board view: a game record played through a recording host,
// with the fall timer kept on the monotonic clock of the terminal loop.
#pragma once

#include <cstdint>
#include <utility>

#include "model/game/game_command.h"
#include "model/game/recording_host.h"
#include "model/rules/game_state.h"

struct TuiGame {
    GameState state;
    RecordingHost recording;
    int64_t nextTickMs = 0;  // the fall timer's next tick, while it runs
};

// True when the host counted a call (a timer start, game-over notice or repaint request)
// since the last look, which empties the count.
inline bool takeNew(int64_t& count) { return std::exchange(count, 0) != 0; }

// A fresh record, linked to the stand-in score label and preview.
void startTuiGame(TuiGame& game);
// Applies a GameCommand code at nowMs, the fall timer's rhythm starting when it starts.
int32_t commandGame(TuiGame& game, uint32_t code, int64_t nowMs);
// One fall step when a tick is due, however many fell due since: a Windows timer does not
// queue missed ticks, and the next one comes in the timer's old rhythm.
void passDueTicks(TuiGame& game, int64_t nowMs);
