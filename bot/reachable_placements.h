// Every place where a falling piece can come to rest using only the game's commands from
// where it stands: turn in place (no kicks), left, right and one row down, each refused when
// the piece would not fit.
#pragma once

#include <cstdint>
#include <vector>

#include "model/rules/row_masks.h"

enum BotMove : uint8_t { BOT_LEFT, BOT_RIGHT, BOT_ROTATE, BOT_DOWN };

// A resting place: the piece's box at (x, y) in `rotation`, where one more row down is
// refused. Pictures that repeat within a kind give one placement, the first reached.
struct Placement {
    int x;
    int y;
    int rotation;
};

// Whether two resting places of a piece of `kind` fill the same cells.
inline bool samePlace(int kind, const Placement& a, const Placement& b) {
    return a.x == b.x && a.y == b.y &&
           pieceMask(kind, a.rotation).sameAsRotation == pieceMask(kind, b.rotation).sameAsRotation;
}

// The search over all (column, row, rotation) states; keeps its queue and parents so that
// a path to any placement it found can be asked for afterwards.
struct PlacementSearch {
    std::vector<Placement> placements;  // in the order the breadth-first search reached them
    uint16_t parent[PIECE_ROTATIONS * BOARD_ROWS * BOARD_COLUMNS];
    uint8_t moveIn[PIECE_ROTATIONS * BOARD_ROWS * BOARD_COLUMNS];
    uint8_t reached[PIECE_ROTATIONS * BOARD_ROWS * BOARD_COLUMNS];
};

// Searches from the piece at (x, y, rotation). When the piece does not fit there, nothing is
// reachable and there are no placements.
void findReachablePlacements(const MaskBoard& board, int kind, int x, int y, int rotation,
                             PlacementSearch& search);

// The shortest list of commands that brings the piece from its start to `placement`, one
// of search.placements; the final step down that fixes it is not included.
std::vector<BotMove> pathToPlacement(const PlacementSearch& search, const Placement& placement);
