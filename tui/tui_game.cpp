// The board view's life on the game controller; the host only records, so the timer and
// the notices are read back from it after each call.
#include "tui/tui_game.h"

#include "model/game/game_controller.h"

void startTuiGame(TuiGame& game) {
    initGameState(game.state);
    GameHost host = recordingHostOf(game.recording);
    // Any nonzero words name the stand-ins; the host keeps what each is told.
    applyGameCommand(game.state, host, CMD_SET_SCORE_LABEL, 1);
    applyGameCommand(game.state, host, CMD_SET_PREVIEW, 2);
}

int32_t commandGame(TuiGame& game, uint32_t code, int64_t nowMs) {
    int32_t answer = applyGameCommand(game.state, recordingHostOf(game.recording), code, 0);
    if (takeNew(game.recording.starts)) game.nextTickMs = nowMs + FALL_INTERVAL_MS;
    return answer;
}

void passDueTicks(TuiGame& game, int64_t nowMs) {
    if (!game.recording.timerRunning || game.nextTickMs > nowMs) return;
    game.nextTickMs += ((nowMs - game.nextTickMs) / FALL_INTERVAL_MS + 1) * FALL_INTERVAL_MS;
    fallStep(game.state, recordingHostOf(game.recording));
}
