// The game's only source of chance: a linear congruential generator, never seeded.
#pragma once

#include <cstdint>

// Where the process-wide state starts: every program run meets the same sequence.
constexpr uint32_t GAME_RANDOM_START = 1;

// One step of the generator on a state that the caller keeps: the state moves on and the
// value 0..32767 is returned. A search that plays many games at once, on several threads,
// carries one state per game and never touches the process-wide one.
constexpr int32_t nextGameRandom(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

// Next value 0..32767 from the one process-wide state, which starts at GAME_RANDOM_START.
int32_t GameRandom();

// The process-wide state as it stands, and setting it: a replay starts from a named state
// and gives the old one back when it is done.
uint32_t gameRandomState();
void restoreGameRandomState(uint32_t state);
