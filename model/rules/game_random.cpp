// The game's linear congruential generator; one state for the whole process.
#include "model/rules/game_random.h"

namespace {

uint32_t generatorState = 1;

}  // namespace

int32_t GameRandom() {
    generatorState = generatorState * 214013u + 2531011u;
    return static_cast<int32_t>((generatorState >> 16) & 0x7FFF);
}

void restoreGameRandomState(uint32_t state) { generatorState = state; }
