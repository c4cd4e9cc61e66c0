// The step from one falling piece to the next.
#include "model/game/piece_advance.h"

#include "chooser/next_piece_chooser.h"
#include "model/rules/board.h"
#include "model/rules/game_random.h"
#include "model/rules/preview_word.h"

void advancePiece(GameState& state, const GameHost& host) {
    state.pieceKind = state.nextKind;
    // The source sees the grid after the lock and row removal, and the promoted kind.
    state.nextKind = host.nextKind != nullptr ? host.nextKind(host.context, state, state.pieceKind)
                                              : chooseNextKind(state, state.pieceKind);
    state.pieceX = SPAWN_COLUMN;
    state.pieceY = SPAWN_ROW;
    state.pieceRotation = state.nextRotation;
    state.nextRotation = GameRandom() % 4;
    if (state.previewWindow != 0)
        host.setPreviewWord(host.context, state.previewWindow,
                            packPreviewWord(state.nextKind, state.nextRotation));
}
