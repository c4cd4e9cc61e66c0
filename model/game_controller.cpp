// The game controller: the gate of every piece command, the fall step with its lock and
// advance, new games, pause and the score query.
#include "model/game_controller.h"

#include <cstring>

#include "model/game_random.h"
#include "model/piece_advance.h"
#include "model/piece_moves.h"
#include "model/row_clearing.h"
#include "model/window_notifier.h"

namespace {

// Before the first game the falling piece's box lies wholly left of the board.
constexpr int32_t OFF_BOARD_COLUMN = -10;

}  // namespace

void initGameState(GameState& state) {
    std::memset(&state, 0, sizeof state);
    state.pieceX = OFF_BOARD_COLUMN;
    state.pieceY = 0;
    int32_t drawn = GameRandom();
    state.pieceRotation = 0;
    state.score = 0;
    state.nextKind = 0;
    state.nextRotation = 0;
    state.timerId = 0;
    state.pieceKind = drawn % 7;
}

bool isGameActive(const GameState& state) { return state.timerId != 0 && state.paused == 0; }

void fallStep(GameState& state, const GameHost& host) {
    if (!isGameActive(state)) return;
    if (tryMove(state, 0, 1)) {
        host.requestRepaint(host.context);
        return;
    }
    lockPiece(state);
    clearFullRows(state);
    advancePiece(state);
    if (pieceFits(state)) {
        host.requestRepaint(host.context);
        return;
    }
    // The piece that does not fit stays at the top, unlocked, for the player to see.
    host.stopFallTimer(host.context);
    state.timerId = 0;
    host.notifyGameOver(host.context);
    host.requestRepaint(host.context);
}

void moveLeft(GameState& state, const GameHost& host) {
    if (!isGameActive(state)) return;
    tryMove(state, -1, 0);
    host.requestRepaint(host.context);
}

void moveRight(GameState& state, const GameHost& host) {
    if (!isGameActive(state)) return;
    tryMove(state, 1, 0);
    host.requestRepaint(host.context);
}

void rotatePiece(GameState& state, const GameHost& host) {
    if (!isGameActive(state)) return;
    tryRotate(state);
    host.requestRepaint(host.context);
}

// The score is answered as it stands, paused or not: the game-over check and any other
// caller must never see a made-up value.
int32_t queryScore(const GameState& state) { return state.score; }

void newGame(GameState& state, const GameHost& host) {
    std::memset(state.cells, 0, sizeof state.cells);
    state.pieceX = SPAWN_COLUMN;
    state.pieceY = SPAWN_ROW;
    int32_t drawn = GameRandom();  // only advances the sequence: advancePiece replaces it
    state.pieceRotation = 0;
    state.score = 0;
    state.paused = 0;
    state.pieceKind = drawn % 7;
    advancePiece(state);
    state.timerId = host.startFallTimer(host.context);
    host.requestRepaint(host.context);
    notifyWindowText(state.scoreLabel, "0");
}

void pauseGame(GameState& state) { state.paused = 1; }

void resumeGame(GameState& state) { state.paused = 0; }

void setScoreLabel(GameState& state, uint32_t window) { state.scoreLabel = window; }

void setPreviewWindow(GameState& state, uint32_t window) { state.previewWindow = window; }
