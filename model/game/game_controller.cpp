// The game controller: the gate of every piece command, the fall step with its lock and
// the advance to the next piece, new games, pause and the score query.
#include "model/game/game_controller.h"

#include <charconv>
#include <cstring>

#include "chooser/next_piece_chooser.h"
#include "model/rules/game_random.h"
#include "model/rules/piece_moves.h"
#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/row_clearing.h"

namespace {

// Before the first game the falling piece's box lies wholly left of the board.
constexpr int32_t OFF_BOARD_COLUMN = -10;

// The next piece becomes the falling piece at the spawn position; the host's next-kind
// source (the adversarial chooser unless the host names another) gives the new next kind,
// GameRandom its rotation, and a linked preview is told. Does not test the fit.
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

// The linked score label's text: the score in decimal, through the view's host. std::to_chars
// writes it into a buffer: a std::string would link the library's whole string code into
// the statically linked Kostrel.exe (90 KB), and snprintf the C library's formatter into
// the browser's WebAssembly (8 KB).
void showScore(const GameState& state, const GameHost& host, int32_t score) {
    if (state.scoreLabel == 0) return;
    char text[12] = {};  // "-2147483648" and its terminator fit
    std::to_chars(text, text + sizeof text - 1, score);
    host.setScoreText(host.context, state.scoreLabel, text);
}

}  // namespace

void initGameState(GameState& state) {
    std::memset(&state, 0, sizeof state);
    state.pieceX = OFF_BOARD_COLUMN;
    state.pieceKind = GameRandom() % PIECE_KINDS;
}

bool isGameActive(const GameState& state) { return state.timerId != 0 && state.paused == 0; }

void fallStep(GameState& state, const GameHost& host) {
    if (!isGameActive(state)) return;
    if (tryMove(state, 0, 1)) {
        host.requestRepaint(host.context);
        return;
    }
    lockPiece(state);
    // The label shows every score on the way, one per removed row, as the rows went.
    int32_t removed = clearFullRows(state);
    for (int32_t shown = state.score - removed + 1; shown <= state.score; ++shown)
        showScore(state, host, shown);
    advancePiece(state, host);
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
    // The game's draw for the first piece's kind is kept, so the random sequence runs on
    // as it always has, though advancePiece puts the pending kind in its place.
    GameRandom();
    state.score = 0;
    state.paused = 0;
    if (host.startingGame != nullptr) host.startingGame(host.context);
    advancePiece(state, host);
    state.timerId = host.startFallTimer(host.context);
    host.requestRepaint(host.context);
    showScore(state, host, 0);
}

void pauseGame(GameState& state) { state.paused = 1; }

void resumeGame(GameState& state) { state.paused = 0; }

void setScoreLabel(GameState& state, uint32_t window) { state.scoreLabel = window; }

void setPreviewWindow(GameState& state, uint32_t window) { state.previewWindow = window; }
