// Fit test, locking, and the guarded move and turn of the falling piece.
#include "model/rules/piece_moves.h"

#include "model/rules/row_masks.h"

bool pieceFits(const GameState& state) {
    // The masks of the rows under the piece's box are all the fit test reads.
    MaskBoard board = {};
    int top = state.pieceY;
    if (top >= 0 && top < BOARD_ROWS)
        for (int row = top; row < BOARD_ROWS && row < top + PICTURE_SIDE; ++row)
            board.rows[row] = rowMaskOf(state.cells[row]);
    return pieceFitsMasks(board, pieceMask(state.pieceKind, state.pieceRotation), state.pieceX,
                          state.pieceY);
}

void lockPiece(GameState& state) {
    const char* picture = piecePicture(state.pieceKind, state.pieceRotation);
    for (int c = 0; c < PICTURE_SIDE; ++c) {
        for (int r = 0; r < PICTURE_SIDE; ++r) {
            if (!pictureCellFilled(picture, r, c)) continue;
            int x = state.pieceX + c;
            int y = state.pieceY + r;
            if (x < 0 || x >= BOARD_COLUMNS || y < 0 || y >= BOARD_ROWS) continue;
            state.cells[y][x] = FILLED_CELL;
        }
    }
}

bool tryMove(GameState& state, int32_t dx, int32_t dy) {
    state.pieceX += dx;
    state.pieceY += dy;
    if (pieceFits(state)) return true;
    state.pieceX -= dx;
    state.pieceY -= dy;
    return false;
}

bool tryRotate(GameState& state) {
    int32_t oldRotation = state.pieceRotation;
    state.pieceRotation = (oldRotation + 1) % PIECE_ROTATIONS;
    if (pieceFits(state)) return true;
    state.pieceRotation = oldRotation;
    return false;
}
