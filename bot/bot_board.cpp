// The game's lock and row removal on the bot's row masks, counting what the features need.
#include "bot/bot_board.h"

BotBoard botBoardFromGame(const GameState& state) {
    BotBoard board;
    gridRowMasks(state, board.rows);
    return board;
}

LockResult botLockAndClear(BotBoard& board, const PieceMask& piece, int x, int y) {
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
