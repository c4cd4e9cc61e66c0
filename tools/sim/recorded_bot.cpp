// The attacker's keys as the events of a replay code.
#include "tools/sim/recorded_bot.h"

#include "bot/bot_player.h"

Replay attackReplay(const AttackSettings& settings, const AttackResult& result) {
    Replay replay{settings.adversary, settings.start, ""};
    for (const AttackMove& move : result.moves) {
        for (BotMove key : move.keys) recordReplayEvents(replay, botMoveEvent(key));
        recordReplayEvents(replay, ReplayEvent::Down);
    }
    return replay;
}
