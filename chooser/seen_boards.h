// The boards that one game has had, each with how often: what an adversary with a loop
// guard remembers. A board is kept whole, packed into 200 bits, so two boards are the same
// only when every cell is.
#pragma once

#include <cstdint>
#include <vector>

#include "model/rules/row_masks.h"

struct PackedBoard {
    uint64_t words[4];  // row r's ten bits at bit 10 * r of the 256
};

inline PackedBoard packBoard(const MaskBoard& board) {
    PackedBoard packed = {};
    for (int row = board.top; row < BOARD_ROWS; ++row) {
        int bit = row * BOARD_COLUMNS;
        uint64_t mask = board.rows[row];
        packed.words[bit / 64] |= mask << (bit % 64);
        if (bit % 64 > 64 - BOARD_COLUMNS) packed.words[bit / 64 + 1] |= mask >> (64 - bit % 64);
    }
    return packed;
}

// A packed surface choice with another kind chosen on the same surface after the same
// falling kind.
inline PackedBoard withChosenKind(PackedBoard surfaceChoice, int32_t chosen) {
    constexpr uint64_t CHOSEN_BITS = uint64_t{0xF} << 60;
    surfaceChoice.words[3] =
        (surfaceChoice.words[3] & ~CHOSEN_BITS) | static_cast<uint64_t>(chosen + 1) << 60;
    return surfaceChoice;
}

// A choice made on a surface: each column's height above the lowest one, the falling kind
// and the chosen kind, marked in the top bits so that it differs from every board, and the
// same table can hold both.
inline PackedBoard packSurfaceChoice(const MaskBoard& board, int32_t fallingKind, int32_t chosen) {
    int heights[BOARD_COLUMNS] = {};
    uint32_t above = 0;
    for (int row = board.top; row < BOARD_ROWS; ++row) {
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if ((board.rows[row] & ~above) >> column & 1u) heights[column] = BOARD_ROWS - row;
        above |= board.rows[row];
    }
    int lowest = BOARD_ROWS;
    for (int height : heights) lowest = height < lowest ? height : lowest;
    PackedBoard packed = {};
    for (int column = 0; column < BOARD_COLUMNS; ++column)
        packed.words[0] |= static_cast<uint64_t>(heights[column] - lowest) << (5 * column);
    packed.words[3] = 0xFu << 28 | static_cast<uint64_t>(fallingKind + 1) << 56;
    return withChosenKind(packed, chosen);
}

inline bool operator==(const PackedBoard& a, const PackedBoard& b) {
    return a.words[0] == b.words[0] && a.words[1] == b.words[1] && a.words[2] == b.words[2] &&
           a.words[3] == b.words[3];
}

// A well-mixed hash of a board: the one the table below places boards by, good for any
// other table of them.
uint64_t hashOf(const PackedBoard& board);

// An open-addressed table of boards and counts, at most half full. Copying it copies the
// game's memory, as a search that plays many games from one does.
struct SeenBoards {
    struct Slot {
        PackedBoard board;
        uint32_t count;  // 0: the slot is free
    };
    std::vector<Slot> slots;  // a power of two of them, or none
    uint32_t distinct = 0;    // slots in use
};

// How often `board` was added since the table was made or cleared.
uint32_t timesSeen(const SeenBoards& seen, const PackedBoard& board);
void addSeen(SeenBoards& seen, const PackedBoard& board);
void clearSeen(SeenBoards& seen);
