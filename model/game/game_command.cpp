// One command code to one controller operation, with the answer the sender receives.
#include "model/game/game_command.h"

#include "model/game/game_controller.h"

int32_t applyGameCommand(GameState& state, const GameHost& host, uint32_t code, uint32_t argument) {
    switch (code) {
    case CMD_MOVE_LEFT: moveLeft(state, host); break;
    case CMD_MOVE_RIGHT: moveRight(state, host); break;
    case CMD_STEP_DOWN: fallStep(state, host); break;
    case CMD_ROTATE: rotatePiece(state, host); break;
    case CMD_GET_SCORE: return queryScore(state);
    case CMD_NEW_GAME: newGame(state, host); break;
    case CMD_PAUSE: pauseGame(state); break;
    case CMD_RESUME: resumeGame(state); break;
    case CMD_SET_SCORE_LABEL: setScoreLabel(state, argument); break;
    case CMD_SET_PREVIEW: setPreviewWindow(state, argument); break;
    default: break;  // CMD_GAME_OVER is the parent's business; unknown codes are ignored
    }
    return 1;
}
