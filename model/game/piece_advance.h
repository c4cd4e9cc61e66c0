// Bringing the pending next piece into play and choosing the one after it.
#pragma once

#include "model/game/game_host.h"
#include "model/rules/game_state.h"

// The next piece becomes the falling piece at the spawn position; the host's next-kind
// source (the adversarial chooser unless the host names another) gives the new next kind,
// GameRandom its rotation, and a linked preview is told. Does not test the fit.
void advancePiece(GameState& state, const GameHost& host);
