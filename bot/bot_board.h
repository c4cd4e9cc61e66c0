// The bot's working copy of a board: one 10-bit mask per row, and the pieces as row masks,
// so that its searches can try thousands of positions per piece cheaply.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"
#include "model/rules/row_masks.h"

struct BotBoard {
    RowMask rows[BOARD_ROWS];  // row 0 at the top, as in the game's grid
};

// The filled cells of a game's grid; any nonzero word counts, as in the game.
BotBoard botBoardFromGame(const GameState& state);

// The game's own fit test, on the bot's board.
inline bool botPieceFits(const BotBoard& board, const PieceMask& piece, int x, int y) {
    return pieceFitsMasks(board.rows, piece, x, y);
}

// What fixing a piece did, besides the board it left.
struct LockResult {
    int rowsCleared;
    int erodedCells;  // rows cleared times the piece's own cells in them
};

// Fixes the piece at (x, y), which must fit, and removes full rows as the game does.
LockResult botLockAndClear(BotBoard& board, const PieceMask& piece, int x, int y);
