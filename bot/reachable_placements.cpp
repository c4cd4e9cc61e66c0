// Breadth-first search over the falling piece's states with the four commands.
#include "bot/reachable_placements.h"

namespace {

constexpr int STATE_COUNT = PIECE_ROTATIONS * BOARD_ROWS * BOARD_COLUMNS;
constexpr uint16_t NO_PARENT = 0xFFFF;

inline int stateIndex(int x, int y, int rotation) {
    return (rotation * BOARD_ROWS + y) * BOARD_COLUMNS + x;
}

}  // namespace

void findReachablePlacements(const MaskBoard& board, int kind, int x, int y, int rotation,
                             PlacementSearch& search) {
    search.placements.clear();
    for (int i = 0; i < STATE_COUNT; ++i) search.reached[i] = 0;
    const PieceMask* rotations = pieceMasksOfKind(kind);
    if (!pieceFitsMasks(board, rotations[rotation], x, y)) return;

    // A placement's picture and box position say which cells it fills; equal pictures in
    // two rotations fill the same cells, so only the first of them is kept.
    bool restingCellsSeen[PIECE_ROTATIONS * BOARD_ROWS * BOARD_COLUMNS] = {};

    uint16_t queue[STATE_COUNT];
    int head = 0;
    int tail = 0;
    int start = stateIndex(x, y, rotation);
    search.reached[start] = 1;
    search.parent[start] = NO_PARENT;
    queue[tail++] = static_cast<uint16_t>(start);
    while (head < tail) {
        int index = queue[head++];
        int r = index / (BOARD_ROWS * BOARD_COLUMNS);
        int cy = (index / BOARD_COLUMNS) % BOARD_ROWS;
        int cx = index % BOARD_COLUMNS;
        const PieceMask& piece = rotations[r];

        auto visit = [&](int nx, int ny, int nr, BotMove move) {
            int next = stateIndex(nx, ny, nr);
            if (search.reached[next]) return;
            search.reached[next] = 1;
            search.parent[next] = static_cast<uint16_t>(index);
            search.moveIn[next] = move;
            queue[tail++] = static_cast<uint16_t>(next);
        };
        if (pieceFitsMasks(board, piece, cx - 1, cy)) visit(cx - 1, cy, r, BOT_LEFT);
        if (pieceFitsMasks(board, piece, cx + 1, cy)) visit(cx + 1, cy, r, BOT_RIGHT);
        int turned = (r + 1) % PIECE_ROTATIONS;
        if (pieceFitsMasks(board, rotations[turned], cx, cy)) visit(cx, cy, turned, BOT_ROTATE);
        if (pieceFitsMasks(board, piece, cx, cy + 1)) {
            visit(cx, cy + 1, r, BOT_DOWN);
        } else {
            int cells = stateIndex(cx, cy, piece.sameAsRotation);
            if (!restingCellsSeen[cells]) {
                restingCellsSeen[cells] = true;
                search.placements.push_back(Placement{cx, cy, r});
            }
        }
    }
}

std::vector<BotMove> pathToPlacement(const PlacementSearch& search, const Placement& placement) {
    std::vector<BotMove> reversed;
    int index = stateIndex(placement.x, placement.y, placement.rotation);
    while (search.parent[index] != NO_PARENT) {
        reversed.push_back(static_cast<BotMove>(search.moveIn[index]));
        index = search.parent[index];
    }
    return std::vector<BotMove>(reversed.rbegin(), reversed.rend());
}
