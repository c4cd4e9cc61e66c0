// The attacker's game as a replay code, which `kostrel-sim replay` and the editions replay
// to the same end.
#pragma once

#include "model/session/replay_code.h"
#include "tools/sim/attacker.h"

// The attacker's game found from settings.start: each piece's keys, then the step down that
// fixes it.
Replay attackReplay(const AttackSettings& settings, const AttackResult& result);
