// The bot at the controls of a real game: it reads what a player sees, decides, and
// plays its decision with the controller's own operations.
#pragma once

#include <cstdint>

#include "bot/placement_planner.h"
#include "model/game/game_adversary.h"
#include "model/game/game_host.h"
#include "model/game/pure_game.h"
#include "model/rules/game_state.h"
#include "model/session/replay_code.h"

// Builds the bot's view from the record: the grid, the falling piece, the preview; and for
// foreseeing the adversary, the game's adversary and the process-wide random state.
BotView botViewOfGame(const GameState& state, const GameAdversary& adversary);
// The same for a game played as a value, where the random state is the game's own.
BotView botViewOfPureGame(const PureGame& game);

// The replay code's event for one of the bot's moves.
ReplayEvent botMoveEvent(BotMove move);

enum PieceOutcome {
    PIECE_PLAYED,
    PIECE_NOT_PLAYABLE,  // no game running, or the piece has nowhere to go; game untouched
    PIECE_DRIFTED,       // the commands left the piece elsewhere than planned; not fixed
};

// Plays the falling piece of a running game to its placement and fixes it with one more
// step down, which also brings in the next piece. `adversary` is the game's. With a
// `recording`, every command goes through the game's recorder into it.
PieceOutcome playOnePiece(GameState& state, const GameHost& host, const GameAdversary& adversary,
                          const BotSettings& settings, Replay* recording = nullptr);

struct BotGameResult {
    int32_t rows;
    int64_t pieces;  // pieces fixed in this game
    bool capped;     // stopped at the piece limit, still running
    bool drifted;    // stopped because a plan and the game disagreed (a bot fault)
};

// Starts a new game on the record with newGame against `adversary` and plays until game
// over or `maxPieces` pieces (0 = no limit). With a `recording`, it receives the game's
// replay code: the same decisions and the same game.
BotGameResult playBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                          Adversary adversary, Replay* recording = nullptr);
