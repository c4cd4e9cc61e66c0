// The game's lock and row removal on the bot's row masks, counting what the features need.
#include "bot/bot_board.h"

BotBoard botBoardFromGame(const GameState& state) {
    BotBoard board;
    gridRowMasks(state, board.rows);
    return board;
}

LockResult botLockAndClear(BotBoard& board, const PieceMask& piece, int x, int y) {
    lockPieceMasks(board.rows, piece, x, y);
    uint32_t removed = rowsToRemove(board.rows);
    LockResult result{countCells(removed), 0};
    for (int r = 0; r < piece.height; ++r)
        if (removed & (1u << (y + r))) result.erodedCells += countCells(piece.rows[r]);
    result.erodedCells *= result.rowsCleared;
    removeRows(board.rows, removed);
    return result;
}
