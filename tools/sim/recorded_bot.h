// The bot's games and the attacker's as replay codes, which `kostrel-sim replay` and the
// editions replay to the same end.
#pragma once

#include <cstdint>

#include "bot/bot_player.h"
#include "model/session/replay_code.h"
#include "tools/sim/attacker.h"

// playBotGame's game, each command given through the recorder into `recording`: the same
// decisions and the same game, and its code.
BotGameResult playRecordedBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                                  Adversary adversary, Replay& recording);

// The attacker's game found from settings.start: each piece's keys, then the step down that
// fixes it.
Replay attackReplay(const AttackSettings& settings, const AttackResult& result);
