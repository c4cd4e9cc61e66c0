// What a view of the board shows in one cell: a settled cell or a cell of the falling piece.
// Before the first game the piece's box lies left of the board and covers nothing.
#pragma once

#include "model/rules/game_state.h"
#include "model/rules/piece_table.h"

inline bool boardCellShown(const GameState& state, int row, int column) {
    if (state.cells[row][column] != 0) return true;
    int pictureRow = row - state.pieceY;
    int pictureColumn = column - state.pieceX;
    return pictureRow >= 0 && pictureRow < PICTURE_SIDE && pictureColumn >= 0 &&
           pictureColumn < PICTURE_SIDE &&
           pictureCellFilled(piecePicture(state.pieceKind, state.pieceRotation), pictureRow,
                             pictureColumn);
}
