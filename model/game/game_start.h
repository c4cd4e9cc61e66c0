// Where a game starts: the random state just before newGame and the pending piece, which
// becomes the game's first falling piece. Written STATE.KR: the state as 8 lowercase hex
// digits, a dot, then the pending piece's kind (0..6) and rotation (0..3).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/rules/game_state.h"

struct GameStart {
    uint32_t random;   // GameRandom's state before newGame's first draw
    int32_t kind;      // the pending next piece
    int32_t rotation;  // and the rotation it arrives in
};

// A fresh program's first game: one draw made when the record was created, and the
// record's pending piece, kind 0 in rotation 0. Written 0029e2c0.00.
constexpr GameStart FRESH_PROGRAM_START = {0x0029e2c0u, 0, 0};

// False, with `start` untouched, for anything but the exact form.
bool parseGameStart(std::string_view text, GameStart& start);
std::string formatGameStart(const GameStart& start);

// Where the record's next game starts from, with the process-wide random state as it is.
GameStart nextGameStart(const GameState& state);
