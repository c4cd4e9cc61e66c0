// The bot's moves and the attacker's keys as the events of a replay code.
#include "tools/sim/recorded_bot.h"

#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/session/game_recorder.h"

namespace {

// The event of each of the bot's moves, in BotMove's order.
constexpr ReplayEvent MOVE_EVENTS[] = {ReplayEvent::Left, ReplayEvent::Right, ReplayEvent::Up,
                                       ReplayEvent::Down};

}  // namespace

BotGameResult playRecordedBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                                  Adversary adversary, Replay& recording) {
    RecordingHost host;
    host.adversary.adversary = adversary;
    const GameHost game = recordingHostOf(host);
    startRecording(recording, state, adversary);
    newGame(state, game);
    BotGameResult result{0, 0, false, false};
    while (isGameActive(state)) {
        if (maxPieces > 0 && result.pieces >= maxPieces) {
            result.capped = true;
            break;
        }
        const BotDecision decision =
            decidePlacement(botViewOfGame(state, host.adversary), settings);
        if (!decision.found) break;
        for (BotMove move : decision.moves) playRecorded(recording, state, game, MOVE_EVENTS[move]);
        if (state.pieceX != decision.placement.x || state.pieceY != decision.placement.y ||
            state.pieceRotation != decision.placement.rotation) {
            result.drifted = true;
            break;
        }
        playRecorded(recording, state, game, ReplayEvent::Down);
        ++result.pieces;
    }
    result.rows = queryScore(state);
    return result;
}

Replay attackReplay(const AttackSettings& settings, const AttackResult& result) {
    Replay replay{settings.adversary, settings.start, ""};
    for (const AttackMove& move : result.moves) {
        for (BotMove key : move.keys) recordReplayEvents(replay, MOVE_EVENTS[key]);
        recordReplayEvents(replay, ReplayEvent::Down);
    }
    return replay;
}
