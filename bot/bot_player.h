// The bot at the controls of a real game: it reads what a player sees, decides, and
// plays its decision with the controller's own operations.
#pragma once

#include <cstdint>

#include "bot/placement_planner.h"
#include "model/game/game_host.h"
#include "model/rules/game_state.h"

// Builds the bot's view from the record: the grid, the falling piece, the preview.
BotView botViewOfGame(const GameState& state);

enum PieceOutcome {
    PIECE_PLAYED,
    PIECE_NOT_PLAYABLE,  // no game running, or the piece has nowhere to go; game untouched
    PIECE_DRIFTED,       // the commands left the piece elsewhere than planned; not fixed
};

// Plays the falling piece of a running game to its placement and fixes it with one more
// step down, which also brings in the next piece.
PieceOutcome playOnePiece(GameState& state, const GameHost& host, const BotSettings& settings);

struct BotGameResult {
    int32_t rows;
    int64_t pieces;  // pieces fixed in this game
    bool capped;     // stopped at the piece limit, still running
    bool drifted;    // stopped because a plan and the game disagreed (a bot fault)
};

// The comparison supply for measuring the bot without the adversary: every kind equally
// likely, from the game's own random source. A NextKindSource for a game's host.
int32_t uniformNextKind(void* context, const GameState& state, int32_t fallingKind);

// Starts a new game on the record with newGame and plays until game over or `maxPieces`
// pieces (0 = no limit). `nextKind` is the game's next-kind source, null for the adversary.
BotGameResult playBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                          NextKindSource nextKind);
