// The adversarial chooser. The search runs on the grid alone, as ten-bit row masks: a
// placement's fit, drop, lock, row removal and evaluation are a few mask operations per
// row, so the whole two-phase search takes microseconds. It names the same kind as the
// literal search on record copies (reference_chooser.cpp) for every board.
#include "chooser/next_piece_chooser.h"

#include "chooser/board_evaluation.h"
#include "model/piece_moves.h"
#include "model/piece_table.h"
#include "model/row_clearing.h"

int32_t dropAndScore(GameState& trial) {
    do {
        ++trial.pieceY;
    } while (pieceFits(trial));
    --trial.pieceY;
    lockPiece(trial);
    clearFullRows(trial);
    return evaluateBoard(trial);
}

namespace {

using RowMask = uint32_t;  // bit c set = column c filled
constexpr RowMask FULL_ROW = (1u << BOARD_COLUMNS) - 1;
constexpr RowMask LEFT_WALL = 1u;                         // closes column 0's left side
constexpr RowMask RIGHT_WALL = 1u << (BOARD_COLUMNS - 1);  // closes column 9's right side

struct MaskBoard {
    RowMask rows[BOARD_ROWS];
    int top;  // first nonempty row, BOARD_ROWS when empty; rows above it are empty
};

// One picture as row masks anchored at column 0; duplicates of an earlier rotation of the
// same kind are marked, since at the same column they score the same and never win a
// strict comparison.
struct PictureMask {
    RowMask rows[PICTURE_SIDE];
    int height;
    int width;
    bool repeatsEarlierRotation;
};

struct PictureMasks {
    PictureMask pictures[PIECE_KINDS][PIECE_ROTATIONS];
};

// Per row mask: its filled cells plus 20 per enclosed empty cell. Covered cells depend on
// the rows above and are added separately.
struct RowTables {
    uint8_t cellCount[1u << BOARD_COLUMNS];
    int16_t filledAndEnclosed[1u << BOARD_COLUMNS];
};

constexpr int32_t COVERED_POINTS = 5;
constexpr int32_t ENCLOSED_POINTS = 20;

RowTables makeRowTables() {
    RowTables tables{};
    for (RowMask row = 0; row <= FULL_ROW; ++row) {
        int cells = 0;
        for (RowMask bits = row; bits != 0; bits &= bits - 1) ++cells;
        tables.cellCount[row] = static_cast<uint8_t>(cells);
    }
    for (RowMask row = 0; row <= FULL_ROW; ++row) {
        RowMask leftClosed = (row << 1) | LEFT_WALL;
        RowMask rightClosed = (row >> 1) | RIGHT_WALL;
        RowMask enclosed = ~row & leftClosed & rightClosed & FULL_ROW;
        tables.filledAndEnclosed[row] = static_cast<int16_t>(
            tables.cellCount[row] + ENCLOSED_POINTS * tables.cellCount[enclosed]);
    }
    return tables;
}

const RowTables rowTables = makeRowTables();

// Built from PieceTable on first use; the table is complete before any game exists.
PictureMasks makePictureMasks() {
    PictureMasks masks{};
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation) {
            PictureMask& mask = masks.pictures[kind][rotation];
            const char* picture = piecePicture(kind, rotation);
            for (int row = 0; row < PICTURE_SIDE; ++row) {
                for (int column = 0; column < PICTURE_SIDE; ++column) {
                    if (!pictureCellFilled(picture, row, column)) continue;
                    mask.rows[row] |= 1u << column;
                    if (row + 1 > mask.height) mask.height = row + 1;
                    if (column + 1 > mask.width) mask.width = column + 1;
                }
            }
            for (int earlier = 0; earlier < rotation; ++earlier) {
                const PictureMask& other = masks.pictures[kind][earlier];
                bool same = true;
                for (int row = 0; row < PICTURE_SIDE; ++row) same &= other.rows[row] == mask.rows[row];
                mask.repeatsEarlierRotation |= same;
            }
        }
    }
    return masks;
}

const PictureMasks& pictureMasks() {
    static const PictureMasks masks = makePictureMasks();
    return masks;
}

MaskBoard maskBoardOf(const GameState& state) {
    MaskBoard board;
    board.top = BOARD_ROWS;
    for (int row = BOARD_ROWS - 1; row >= 0; --row) {
        RowMask mask = 0;
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (state.cells[row][column] != 0) mask |= 1u << column;
        board.rows[row] = mask;
        if (mask != 0) board.top = row;
    }
    return board;
}

bool fitsAt(const MaskBoard& board, const PictureMask& picture, int x, int y) {
    if (y + picture.height > BOARD_ROWS) return false;
    for (int row = 0; row < picture.height; ++row)
        if (board.rows[y + row] & (picture.rows[row] << x)) return false;
    return true;
}

// Mirrors the row removal on record copies: rows 1..19 that are full go, and a full row 0
// goes with them only when some row below it went.
void removeFullRows(MaskBoard& board) {
    bool anyBelowTop = false;
    for (int row = 1; row < BOARD_ROWS; ++row) anyBelowTop |= board.rows[row] == FULL_ROW;
    if (!anyBelowTop) return;
    int target = BOARD_ROWS - 1;
    for (int row = BOARD_ROWS - 1; row >= 0; --row)
        if (board.rows[row] != FULL_ROW) board.rows[target--] = board.rows[row];
    for (; target >= 0; --target) board.rows[target] = 0;
    board.top = BOARD_ROWS;
    for (int row = BOARD_ROWS - 1; row >= 0; --row)
        if (board.rows[row] != 0) board.top = row;
}

int32_t evaluateMaskBoard(const MaskBoard& board) {
    int32_t sum = 0;
    RowMask covered = 0;  // columns with a filled cell in some row above
    for (int row = board.top; row < BOARD_ROWS; ++row) {
        RowMask mask = board.rows[row];
        sum += rowTables.filledAndEnclosed[mask] +
               COVERED_POINTS * rowTables.cellCount[covered & ~mask];
        covered |= mask;
    }
    return sum;
}

// The straight drop of a picture that fits at (x, 0): lock it where it rests, remove full
// rows and score what is left. Rows above the stack are empty, so the fall can start just
// above it instead of at row 0.
int32_t dropOnto(const MaskBoard& base, const PictureMask& picture, int x, MaskBoard& result) {
    int y = base.top - picture.height;
    if (y < 0) y = 0;
    while (fitsAt(base, picture, x, y + 1)) ++y;
    result = base;
    for (int row = 0; row < picture.height; ++row) result.rows[y + row] |= picture.rows[row] << x;
    if (y < result.top) result.top = y;  // every picture has a filled cell in its row 0
    removeFullRows(result);
    return evaluateMaskBoard(result);
}

bool fitsAtTop(const MaskBoard& board, const PictureMask& picture, int x) {
    return x + picture.width <= BOARD_COLUMNS && fitsAt(board, picture, x, 0);
}

}  // namespace

int32_t chooseNextKind(const GameState& state, int32_t fallingKind) {
    const PictureMasks& masks = pictureMasks();
    const MaskBoard live = maskBoardOf(state);

    // The player's best drop of the falling piece; the first of equal scores is kept.
    MaskBoard saved;
    MaskBoard trial;
    int32_t best = NO_PLACEMENT_SCORE;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int t = 0; t < PIECE_ROTATIONS; ++t) {
            const PictureMask& picture = masks.pictures[fallingKind][t];
            if (picture.repeatsEarlierRotation || !fitsAtTop(live, picture, x)) continue;
            int32_t score = dropOnto(live, picture, x, trial);
            if (score < best) {
                best = score;
                saved = trial;
            }
        }
    }
    // The falling piece fits nowhere: the game ends right after this advance and there is
    // no board to answer on. Kind 0 keeps the preview and the next game's first piece valid.
    if (best == NO_PLACEMENT_SCORE) return 0;

    // The kind whose best answer is worst; ties go to the lower kind. A kind can only take
    // the lead with every placement above the current highest, so its search stops at the
    // first placement that is not.
    int32_t highest = 0;
    int32_t result = 0;
    for (int k = 0; k < PIECE_KINDS; ++k) {
        int32_t kindBest = NO_PLACEMENT_SCORE;
        for (int x = 0; x < BOARD_COLUMNS && kindBest > highest; ++x) {
            for (int t = 0; t < PIECE_ROTATIONS; ++t) {
                const PictureMask& picture = masks.pictures[k][t];
                if (picture.repeatsEarlierRotation || !fitsAtTop(saved, picture, x)) continue;
                int32_t score = dropOnto(saved, picture, x, trial);
                if (score < kindBest) kindBest = score;
                if (kindBest <= highest) break;
            }
        }
        if (kindBest > highest) {
            highest = kindBest;
            result = k;
        }
    }
    return result;
}
