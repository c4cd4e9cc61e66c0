// The game's only source of chance: a linear congruential generator, never seeded.
#pragma once

#include <cstdint>

// Next value 0..32767 from the one process-wide state, which starts at 1.
int32_t GameRandom();

// For tests and benchmarks that replay a run from a fresh program's start.
void restoreGameRandomState(uint32_t state);
