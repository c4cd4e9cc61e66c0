// Events into the controller, and into the recording while the game is active.
#include "model/session/game_recorder.h"

#include "model/game/game_command.h"
#include "model/game/game_controller.h"

uint32_t gameCommandOf(ReplayEvent event) {
    switch (event) {
    case ReplayEvent::Left: return CMD_MOVE_LEFT;
    case ReplayEvent::Right: return CMD_MOVE_RIGHT;
    case ReplayEvent::Up: return CMD_ROTATE;
    case ReplayEvent::Tick:
    case ReplayEvent::Down: break;
    }
    return CMD_STEP_DOWN;
}

void startRecording(Replay& recording, const GameState& state, Adversary adversary) {
    recording.adversary = adversary;
    recording.start = nextGameStart(state);
    recording.events.clear();
}

void playRecorded(Replay& recording, GameState& state, const GameHost& host, ReplayEvent event) {
    if (isGameActive(state)) recordReplayEvents(recording, event);
    applyGameCommand(state, host, gameCommandOf(event), 0);
}
