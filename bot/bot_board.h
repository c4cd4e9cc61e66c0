// The bot's working copy of a board: one 10-bit mask per row, and the pieces as row masks,
// so that its searches can try thousands of positions per piece cheaply.
#pragma once

#include <cstdint>

#include "model/game_state.h"
#include "model/row_masks.h"

struct BotBoard {
    RowMask rows[BOARD_ROWS];  // row 0 at the top, as in the game's grid
};

// The filled cells of a game's grid; any nonzero word counts, as in the game.
BotBoard botBoardFromGame(const GameState& state);

// The game's fit test on masks: the box origin inside the grid, every filled cell inside
// the walls and above the floor on an empty cell.
inline bool botPieceFits(const BotBoard& board, const PieceMask& piece, int x, int y) {
    if (x < 0 || y < 0) return false;
    for (int r = 0; r < piece.height; ++r) {
        uint32_t shifted = static_cast<uint32_t>(piece.rows[r]) << x;
        if (shifted & ~static_cast<uint32_t>(FULL_ROW_MASK)) return false;
        if (y + r >= BOARD_ROWS) return false;
        if (board.rows[y + r] & shifted) return false;
    }
    return true;
}

// What fixing a piece did, besides the board it left.
struct LockResult {
    int rowsCleared;
    int erodedCells;  // rows cleared times the piece's own cells in them
};

// Fixes the piece at (x, y), which must fit, and removes full rows exactly as the game
// does: from the bottom up, row 0 never tested for itself.
LockResult botLockAndClear(BotBoard& board, const PieceMask& piece, int x, int y);
