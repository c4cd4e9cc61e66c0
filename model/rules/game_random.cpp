// The game's linear congruential generator; one state for the whole process.
#include "model/rules/game_random.h"

namespace {

uint32_t generatorState = GAME_RANDOM_START;

}  // namespace

int32_t GameRandom() { return nextGameRandom(generatorState); }

uint32_t gameRandomState() { return generatorState; }

void restoreGameRandomState(uint32_t state) { generatorState = state; }
