// The grid and the pieces as ten-bit row masks, for searches that try many placements:
// a fit test or a lock is then a few mask operations per row.
#pragma once

#include <cstdint>

#include "model/board.h"
#include "model/game_state.h"
#include "model/piece_table.h"

using RowMask = uint32_t;  // bit c set = column c filled
constexpr RowMask FULL_ROW_MASK = (1u << BOARD_COLUMNS) - 1;

// One PieceTable picture as masks anchored at column 0: bit c of rows[r] is cell (r, c).
struct PieceMask {
    RowMask rows[PICTURE_SIDE];
    int height;          // picture rows holding a filled cell
    int width;           // picture columns holding a filled cell
    int sameAsRotation;  // the lowest rotation of the kind with the very same picture
};

// The four rotations of kind 0..6, built from PieceTable on first use (the table is
// complete before any game exists).
const PieceMask* pieceMasksOfKind(int kind);

inline const PieceMask& pieceMask(int kind, int rotation) { return pieceMasksOfKind(kind)[rotation]; }

// The filled cells of the grid, any nonzero word counting as filled.
void gridRowMasks(const GameState& state, RowMask rows[BOARD_ROWS]);

// The number of filled cells in a mask, without a library call on processors that have no
// population-count instruction.
inline int countCells(uint32_t mask) {
    mask = mask - ((mask >> 1) & 0x55555555u);
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return static_cast<int>((mask * 0x01010101u) >> 24);
}
