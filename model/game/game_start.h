// Where a game starts: the random state just before newGame and the pending piece, which
// becomes the game's first falling piece. Written STATE.KR: the state as 8 lowercase hex
// digits, a dot, then the pending piece's kind (0..6) and rotation (0..3). The one reader
// and writer of that form, for the attacker's --start and the replay code alike.
#pragma once

#include <cstddef>
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
constexpr size_t GAME_START_LENGTH = 11;  // "0029e2c0.00"

// Why a text does not start with STATE.KR, and where.
struct GameStartFault {
    std::string reason;  // e.g. kind "7" instead of 0..6
    size_t at;           // 0-based index in the text (its length: the text ended early)
};

// Reads STATE.KR from the start of `text`, which must end there or go on with a ".": true
// with `start` set, or false with the first fault and `start` untouched.
bool readGameStart(std::string_view text, GameStart& start, GameStartFault& fault);

// The whole text is exactly STATE.KR.
bool parseGameStart(std::string_view text, GameStart& start);
std::string formatGameStart(const GameStart& start);

// The part of a dotted text such as STATE.KR from `at` up to the next "." or the text's end.
std::string_view partAt(std::string_view text, size_t at);

// A part of a text in double quotes, as a reason shows it: printable ASCII as it is, any
// other byte as an escape, and a long part cut short, so that no reason grows with the text.
std::string quotedPart(std::string_view part);

// Where the record's next game starts from, with the process-wide random state as it is.
GameStart nextGameStart(const GameState& state);
