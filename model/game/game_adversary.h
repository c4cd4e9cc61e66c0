// The adversary of a game that the controller runs: which one, and what it remembers of the
// game. A host's next-kind source and game-start call reach it through these two functions.
#pragma once

#include <cstdint>

#include "chooser/adversary.h"
#include "model/rules/game_state.h"

struct GameAdversary {
    Adversary adversary = DEFAULT_ADVERSARY;
    AdversaryMemory memory;
    // Set, each choice of an adversary that looks at the board is also scored in full into
    // lastScores, for a view that shows why the piece in the preview was chosen.
    bool scoring = false;
    bool scored = false;  // lastScores holds the last choice's scores
    KindScores lastScores = {};
};

// A new game: what was remembered of the last one goes.
void startAdversaryGame(GameAdversary& game);

// The next kind for the record's grid after `fallingKind` started to fall on it; the grid
// is remembered, and a draw, if the adversary makes one, comes from GameRandom.
int32_t nextKindInGame(GameAdversary& game, const GameState& state, int32_t fallingKind);
