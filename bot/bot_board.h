// The bot's working copy of a board: one 10-bit mask per row, and the pieces as row masks,
// so that its searches can try thousands of positions per piece cheaply.
#pragma once

#include <cstdint>

#include "model/board.h"
#include "model/game_state.h"
#include "model/piece_table.h"

constexpr uint16_t FULL_ROW_MASK = (1u << BOARD_COLUMNS) - 1;  // bit x = column x

struct BotBoard {
    uint16_t rows[BOARD_ROWS];  // row 0 at the top, as in the game's grid
};

// One picture of PieceTable as masks: bit c of rows[r] is the picture's cell (r, c).
struct PieceMasks {
    uint16_t rows[PICTURE_SIDE];
    int height;           // picture rows holding a filled cell
    int sameAsRotation;   // the lowest rotation of the kind with the very same picture
};

// The four rotations of kind 0..6, taken from PieceTable (which must be built by then).
const PieceMasks* pieceMasksOfKind(int kind);

inline const PieceMasks& pieceMasks(int kind, int rotation) {
    return pieceMasksOfKind(kind)[rotation];
}

// The number of filled cells in a row mask. The compiler's builtin becomes a library call
// on processors without a population-count instruction, which the searches would feel.
inline int countCells(uint32_t mask) {
    mask = mask - ((mask >> 1) & 0x55555555u);
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return static_cast<int>((mask * 0x01010101u) >> 24);
}

// The filled cells of a game's grid; any nonzero word counts, as in the game.
BotBoard botBoardFromGame(const GameState& state);

// The game's fit test on masks: the box origin inside the grid, every filled cell inside
// the walls and above the floor on an empty cell.
inline bool botPieceFits(const BotBoard& board, const PieceMasks& piece, int x, int y) {
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
LockResult botLockAndClear(BotBoard& board, const PieceMasks& piece, int x, int y);
