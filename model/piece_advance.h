// Bringing the pending next piece into play and choosing the one after it.
#pragma once

#include <cstdint>

#include "model/game_state.h"

// The next piece becomes the falling piece at column 4, row 0; the chooser names the new
// next kind, GameRandom its rotation, and the preview is told. Does not test the fit.
void advancePiece(GameState& state);

// The start position of every new piece's box.
constexpr int SPAWN_COLUMN = 4;
constexpr int SPAWN_ROW = 0;

// Where advancePiece takes the new next kind from: the adversarial chooser unless a
// benchmark puts another source in its place to compare the game against (a null source
// puts the chooser back). The source gets what the chooser gets: the record and the
// promoted kind.
using NextKindSource = int32_t (*)(const GameState& state, int32_t fallingKind);
void setNextKindSource(NextKindSource source);
