// Row masks of the board and of the pieces, and the game's lock and row removal on them.
#include "bot/bot_board.h"

#include <cstring>

namespace {

PieceMasks masksTable[PIECE_KINDS][PIECE_ROTATIONS];
bool masksBuilt = false;

void buildMasks() {
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation) {
            const char* picture = piecePicture(kind, rotation);
            PieceMasks& masks = masksTable[kind][rotation];
            masks = PieceMasks{};
            for (int r = 0; r < PICTURE_SIDE; ++r) {
                for (int c = 0; c < PICTURE_SIDE; ++c)
                    if (pictureCellFilled(picture, r, c)) masks.rows[r] |= 1u << c;
                if (masks.rows[r] != 0) masks.height = r + 1;
            }
            masks.sameAsRotation = rotation;
            for (int earlier = 0; earlier < rotation; ++earlier) {
                if (std::memcmp(piecePicture(kind, earlier), picture, PICTURE_CELLS) == 0) {
                    masks.sameAsRotation = earlier;
                    break;
                }
            }
        }
    }
    masksBuilt = true;
}

}  // namespace

const PieceMasks* pieceMasksOfKind(int kind) {
    if (!masksBuilt) buildMasks();
    return masksTable[kind];
}

BotBoard botBoardFromGame(const GameState& state) {
    BotBoard board{};
    for (int y = 0; y < BOARD_ROWS; ++y)
        for (int x = 0; x < BOARD_COLUMNS; ++x)
            if (state.cells[y][x] != 0) board.rows[y] |= 1u << x;
    return board;
}

LockResult botLockAndClear(BotBoard& board, const PieceMasks& piece, int x, int y) {
    // Which board rows hold the piece's cells, and how many, to count eroded cells.
    int pieceCellsInRow[BOARD_ROWS] = {};
    for (int r = 0; r < piece.height; ++r) {
        uint16_t shifted = static_cast<uint16_t>(piece.rows[r] << x);
        board.rows[y + r] |= shifted;
        pieceCellsInRow[y + r] = countCells(shifted);
    }
    LockResult result{0, 0};
    int row = BOARD_ROWS - 1;
    // Tracks which original row sits at each position while rows come down.
    int origin[BOARD_ROWS];
    for (int r = 0; r < BOARD_ROWS; ++r) origin[r] = r;
    while (row != 0) {
        if (board.rows[row] != FULL_ROW_MASK) {
            --row;
            continue;
        }
        ++result.rowsCleared;
        if (origin[row] >= 0) result.erodedCells += pieceCellsInRow[origin[row]];
        for (int k = row; k >= 1; --k) {
            board.rows[k] = board.rows[k - 1];
            origin[k] = origin[k - 1];
        }
        board.rows[0] = 0;
        origin[0] = -1;
    }
    result.erodedCells *= result.rowsCleared;
    return result;
}
