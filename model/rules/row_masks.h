// The grid and the pieces as ten-bit row masks. The game's fit test and row removal are
// defined here once, on masks, and used by the game's own record, the chooser's searches
// and the bot alike.
#pragma once

#include <cstdint>
#include <cstring>

#include "model/rules/board.h"
#include "model/rules/game_state.h"
#include "model/rules/piece_table.h"

using RowMask = uint32_t;  // bit c set = column c filled
constexpr RowMask FULL_ROW_MASK = (1u << BOARD_COLUMNS) - 1;

// One piece picture as masks anchored at column 0: bit c of rows[r] is cell (r, c).
struct PieceMask {
    RowMask rows[PICTURE_SIDE];
    int height;          // picture rows holding a filled cell
    int width;           // picture columns holding a filled cell
    int sameAsRotation;  // the lowest rotation of the kind with the very same picture
};

struct PieceMaskTable {
    PieceMask pieces[PIECE_KINDS][PIECE_ROTATIONS];
};

constexpr bool samePicture(const char* a, const char* b) {
    for (int cell = 0; cell < PICTURE_CELLS; ++cell)
        if (a[cell] != b[cell]) return false;
    return true;
}

constexpr PieceMaskTable buildPieceMasks() {
    PieceMaskTable table{};
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation) {
            const char* picture = piecePicture(kind, rotation);
            PieceMask& mask = table.pieces[kind][rotation];
            for (int r = 0; r < PICTURE_SIDE; ++r) {
                for (int c = 0; c < PICTURE_SIDE; ++c) {
                    if (!pictureCellFilled(picture, r, c)) continue;
                    mask.rows[r] |= 1u << c;
                    if (r + 1 > mask.height) mask.height = r + 1;
                    if (c + 1 > mask.width) mask.width = c + 1;
                }
            }
            mask.sameAsRotation = rotation;
            for (int earlier = rotation - 1; earlier >= 0; --earlier)
                if (samePicture(piecePicture(kind, earlier), picture))
                    mask.sameAsRotation = earlier;
        }
    }
    return table;
}

inline constexpr PieceMaskTable PIECE_MASKS = buildPieceMasks();

// The four rotations of kind 0..6.
constexpr const PieceMask* pieceMasksOfKind(int kind) { return PIECE_MASKS.pieces[kind]; }
constexpr const PieceMask& pieceMask(int kind, int rotation) {
    return PIECE_MASKS.pieces[kind][rotation];
}

// The filled cells of one grid row, any nonzero word counting as filled.
inline RowMask rowMaskOf(const uint32_t (&row)[BOARD_COLUMNS]) {
    RowMask mask = 0;
    for (int column = 0; column < BOARD_COLUMNS; ++column)
        if (row[column] != 0) mask |= 1u << column;
    return mask;
}

// A grid as row masks: what the game's record holds, without the words' values. The
// chooser's searches and the bot work on it, where a fit test or a lock is a few mask
// operations per row.
struct MaskBoard {
    RowMask rows[BOARD_ROWS];  // row 0 at the top
    int top;                   // every row above it is empty; BOARD_ROWS when all are
};

// The record's grid, with `top` its first nonempty row.
inline MaskBoard maskBoardOf(const GameState& state) {
    MaskBoard board;
    board.top = BOARD_ROWS;
    for (int row = BOARD_ROWS - 1; row >= 0; --row) {
        board.rows[row] = rowMaskOf(state.cells[row]);
        if (board.rows[row] != 0) board.top = row;
    }
    return board;
}

// The game's fit test: every filled cell of the piece with its box at (x, y) lies inside
// the grid on an empty cell. Every picture has a filled cell in its row 0 and column 0, so
// the box's own position bounds it on the top and left. Only the rows the box covers are
// read.
inline bool pieceFitsMasks(const MaskBoard& board, const PieceMask& piece, int x, int y) {
    if (x < 0 || y < 0 || x > BOARD_COLUMNS - piece.width || y > BOARD_ROWS - piece.height)
        return false;
    for (int r = 0; r < piece.height; ++r)
        if (board.rows[y + r] & (piece.rows[r] << x)) return false;
    return true;
}

// Writes the piece into the board; it must fit.
inline void lockPieceMasks(MaskBoard& board, const PieceMask& piece, int x, int y) {
    for (int r = 0; r < piece.height; ++r) board.rows[y + r] |= piece.rows[r] << x;
    if (y < board.top) board.top = y;  // every picture has a filled cell in its row 0
}

// The rows the game removes after a lock, as bit r for row r. Full rows go from the bottom
// up, the rows above coming down; row 0 is never tested itself, so a full row 0 goes only
// when a removal below brings it down into reach of the scan.
inline uint32_t rowsToRemove(const MaskBoard& board) {
    uint32_t removed = 0;
    for (int row = board.top > 1 ? board.top : 1; row < BOARD_ROWS; ++row)
        removed |= static_cast<uint32_t>(board.rows[row] == FULL_ROW_MASK) << row;
    if (removed != 0 && board.rows[0] == FULL_ROW_MASK) removed |= 1u;
    return removed;
}

// Takes the `removed` rows out of a grid of any row type, lets the others come down in
// order and empties the rows left at the top.
template <typename Row>
void removeRows(Row (&rows)[BOARD_ROWS], uint32_t removed) {
    int target = BOARD_ROWS - 1;
    for (int row = BOARD_ROWS - 1; row >= 0; --row) {
        if (removed & (1u << row)) continue;
        if (target != row) std::memcpy(&rows[target], &rows[row], sizeof(Row));
        --target;
    }
    for (; target >= 0; --target) std::memset(&rows[target], 0, sizeof(Row));
}

// The number of filled cells in a mask, without a library call on processors that have no
// population-count instruction.
constexpr int countCells(uint32_t mask) {
    mask = mask - ((mask >> 1) & 0x55555555u);
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return static_cast<int>((mask * 0x01010101u) >> 24);
}

// Removes the full rows as the game does and returns them, as rowsToRemove gives them.
inline uint32_t removeFullRows(MaskBoard& board) {
    uint32_t removed = rowsToRemove(board);
    if (removed == 0) return 0;
    removeRows(board.rows, removed);
    board.top = BOARD_ROWS;
    for (int row = BOARD_ROWS - 1; row >= 0; --row)
        if (board.rows[row] != 0) board.top = row;
    return removed;
}
