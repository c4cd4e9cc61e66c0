// The controller's piece advance on a value: newGame's draws, then per piece the lock, the
// row removal, the adversary's pick (which may draw) and the rotation's draw.
#include "model/game/pure_game.h"

#include "model/rules/board.h"
#include "model/rules/game_random.h"

namespace {

// The controller's advancePiece on the board the step leaves: the pending piece comes in at
// the spawn point, and the game ends if it does not fit there.
void enterPending(const PureGame& game, PureStep& step) {
    step.over = !pieceFitsMasks(step.board, pieceMask(game.nextKind, game.nextRotation),
                                SPAWN_COLUMN, SPAWN_ROW);
}

}  // namespace

PureGame startPureGame(const GameStart& start, Adversary adversary) {
    PureGame game{};
    game.board.top = BOARD_ROWS;
    game.nextKind = start.kind;
    game.nextRotation = start.rotation;
    game.random = start.random;
    game.adversary = adversary;
    // newGame's draw for a first kind that the pending piece replaces at once.
    nextGameRandom(game.random);
    PureStep first{game.board, 0, 0, 0, 0, game.random, false};
    enterPending(game, first);
    drawNext(game, first);
    applyStep(game, first);
    game.pieces = 0;
    return game;
}

PureStep planStep(const PureGame& game, int x, int y, int rotation) {
    PureStep step = fixPiece(game, x, y, rotation);
    drawNext(game, step);
    return step;
}

PureStep fixPiece(const PureGame& game, int x, int y, int rotation) {
    PureStep step{game.board, 0, 0, 0, 0, game.random, false};
    lockPieceMasks(step.board, pieceMask(game.kind, rotation), x, y);
    step.removed = removeFullRows(step.board);
    step.rows = countCells(step.removed);
    enterPending(game, step);
    return step;
}

// The adversary names the next piece, and its rotation is drawn.
void drawNext(const PureGame& game, PureStep& step) {
    step.nextKind =
        pickNextKind(game.adversary, game.memory, step.board, game.nextKind, step.random);
    step.nextRotation = nextGameRandom(step.random) % PIECE_ROTATIONS;
}
void applyStep(PureGame& game, const PureStep& step) {
    game.board = step.board;
    game.score += step.rows;
    ++game.pieces;
    game.kind = game.nextKind;
    game.rotation = game.nextRotation;
    game.nextKind = step.nextKind;
    game.nextRotation = step.nextRotation;
    game.random = step.random;
    game.over = step.over;
    rememberChoice(game.adversary, game.memory, game.board, game.kind, game.nextKind);
}

void placeAndAdvance(PureGame& game, int x, int y, int rotation) {
    applyStep(game, planStep(game, x, y, rotation));
}

GameStart nextGameStart(const PureGame& game) {
    return GameStart{game.random, game.nextKind, game.nextRotation};
}
