// Piece masks from the rotation table, and the grid as row masks.
#include "model/row_masks.h"

#include <cstring>

namespace {

struct PieceMaskTable {
    PieceMask pieces[PIECE_KINDS][PIECE_ROTATIONS];
};

PieceMaskTable buildPieceMasks() {
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
                if (std::memcmp(piecePicture(kind, earlier), picture, PICTURE_CELLS) == 0)
                    mask.sameAsRotation = earlier;
        }
    }
    return table;
}

}  // namespace

const PieceMask* pieceMasksOfKind(int kind) {
    static const PieceMaskTable table = buildPieceMasks();
    return table.pieces[kind];
}

void gridRowMasks(const GameState& state, RowMask rows[BOARD_ROWS]) {
    for (int row = 0; row < BOARD_ROWS; ++row) {
        RowMask mask = 0;
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (state.cells[row][column] != 0) mask |= 1u << column;
        rows[row] = mask;
    }
}
