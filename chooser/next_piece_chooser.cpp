// The adversarial chooser. The search runs on the grid alone, as ten-bit row masks: a
// placement's fit, drop, lock, row removal and evaluation are a few mask operations per
// row, so the whole two-phase search takes microseconds. It names the same kind as the
// literal search on record copies (reference_chooser.cpp) for every board.
#include "chooser/next_piece_chooser.h"

#include "chooser/board_evaluation.h"
#include "model/piece_moves.h"
#include "model/piece_table.h"
#include "model/row_masks.h"
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

constexpr RowMask LEFT_WALL = 1u;                         // closes column 0's left side
constexpr RowMask RIGHT_WALL = 1u << (BOARD_COLUMNS - 1);  // closes column 9's right side

struct MaskBoard {
    RowMask rows[BOARD_ROWS];
    int top;  // first nonempty row, BOARD_ROWS when empty; rows above it are empty
};

constexpr int32_t COVERED_POINTS = 5;
constexpr int32_t ENCLOSED_POINTS = 20;

// Per row mask: its filled cells plus 20 per enclosed empty cell. Covered cells depend on
// the rows above and are added separately.
struct RowScores {
    int16_t filledAndEnclosed[FULL_ROW_MASK + 1];
    uint8_t cellCount[FULL_ROW_MASK + 1];  // a lookup beats counting bits in the hot loop
};

RowScores makeRowScores() {
    RowScores scores{};
    for (uint32_t row = 0; row <= FULL_ROW_MASK; ++row) {
        uint32_t leftClosed = (row << 1) | LEFT_WALL;
        uint32_t rightClosed = (row >> 1) | RIGHT_WALL;
        uint32_t enclosed = ~row & leftClosed & rightClosed & FULL_ROW_MASK;
        scores.filledAndEnclosed[row] =
            static_cast<int16_t>(countCells(row) + ENCLOSED_POINTS * countCells(enclosed));
        scores.cellCount[row] = static_cast<uint8_t>(countCells(row));
    }
    return scores;
}

const RowScores rowScores = makeRowScores();

MaskBoard maskBoardOf(const GameState& state) {
    MaskBoard board;
    gridRowMasks(state, board.rows);
    board.top = 0;
    while (board.top < BOARD_ROWS && board.rows[board.top] == 0) ++board.top;
    return board;
}

bool fitsAt(const MaskBoard& board, const PieceMask& picture, int x, int y) {
    if (y + picture.height > BOARD_ROWS) return false;
    for (int row = 0; row < picture.height; ++row)
        if (board.rows[y + row] & (picture.rows[row] << x)) return false;
    return true;
}

// Mirrors the row removal on record copies: rows 1..19 that are full go, and a full row 0
// goes with them only when some row below it went.
void removeFullRows(MaskBoard& board) {
    bool anyBelowTop = false;
    for (int row = 1; row < BOARD_ROWS; ++row) anyBelowTop |= board.rows[row] == FULL_ROW_MASK;
    if (!anyBelowTop) return;
    int target = BOARD_ROWS - 1;
    for (int row = BOARD_ROWS - 1; row >= 0; --row)
        if (board.rows[row] != FULL_ROW_MASK) board.rows[target--] = board.rows[row];
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
        sum += rowScores.filledAndEnclosed[mask] + COVERED_POINTS * rowScores.cellCount[covered & ~mask];
        covered |= mask;
    }
    return sum;
}

// The straight drop of a picture that fits at (x, 0): lock it where it rests, remove full
// rows and score what is left. Rows above the stack are empty, so the fall can start just
// above it instead of at row 0.
int32_t dropOnto(const MaskBoard& base, const PieceMask& picture, int x, MaskBoard& result) {
    int y = base.top - picture.height;
    if (y < 0) y = 0;
    while (fitsAt(base, picture, x, y + 1)) ++y;
    result = base;
    for (int row = 0; row < picture.height; ++row) result.rows[y + row] |= picture.rows[row] << x;
    if (y < result.top) result.top = y;  // every picture has a filled cell in its row 0
    removeFullRows(result);
    return evaluateMaskBoard(result);
}

bool fitsAtTop(const MaskBoard& board, const PieceMask& picture, int x) {
    return x + picture.width <= BOARD_COLUMNS && fitsAt(board, picture, x, 0);
}

}  // namespace

int32_t chooseNextKind(const GameState& state, int32_t fallingKind) {
    const MaskBoard live = maskBoardOf(state);

    // The player's best drop of the falling piece; the first of equal scores is kept. A
    // rotation whose picture repeats an earlier one scores the same at the same column and
    // so can never win a strict comparison: it is skipped, here and below.
    const PieceMask* fallingMasks = pieceMasksOfKind(fallingKind);
    MaskBoard saved;
    MaskBoard trial;
    int32_t best = NO_PLACEMENT_SCORE;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int t = 0; t < PIECE_ROTATIONS; ++t) {
            const PieceMask& picture = fallingMasks[t];
            if (picture.sameAsRotation != t || !fitsAtTop(live, picture, x)) continue;
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
        const PieceMask* kindMasks = pieceMasksOfKind(k);
        int32_t kindBest = NO_PLACEMENT_SCORE;
        for (int x = 0; x < BOARD_COLUMNS && kindBest > highest; ++x) {
            for (int t = 0; t < PIECE_ROTATIONS; ++t) {
                const PieceMask& picture = kindMasks[t];
                if (picture.sameAsRotation != t || !fitsAtTop(saved, picture, x)) continue;
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
