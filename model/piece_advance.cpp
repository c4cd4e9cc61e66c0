// The step from one falling piece to the next.
#include "model/piece_advance.h"

#include "chooser/next_piece_chooser.h"
#include "model/game_random.h"
#include "model/window_notifier.h"

namespace {

NextKindSource nextKindSource = chooseNextKind;

}  // namespace

void setNextKindSource(NextKindSource source) {
    nextKindSource = source != nullptr ? source : chooseNextKind;
}

void advancePiece(GameState& state) {
    state.pieceKind = state.nextKind;
    // The chooser sees the grid after the lock and row removal, and the promoted kind.
    state.nextKind = nextKindSource(state, state.pieceKind);
    state.pieceX = SPAWN_COLUMN;
    state.pieceY = SPAWN_ROW;
    state.pieceRotation = state.nextRotation;
    state.nextRotation = GameRandom() % 4;
    if (state.previewWindow != 0) {
        uint32_t word = (static_cast<uint32_t>(state.nextRotation) << 16) |
                        (static_cast<uint32_t>(state.nextKind) & 0xFFFF);
        notifyPreviewWord(state.previewWindow, word);
    }
}
