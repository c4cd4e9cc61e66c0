// The attacker: the strongest player we have, to measure an adversary. A beam search over
// the real game from a given start, placing pieces only where key presses bring them and
// foreseeing every piece from the adversary's rule and the random source, keeping the W
// best games by its own evaluation at every piece.
#pragma once

#include <cstdint>
#include <vector>

#include "bot/reachable_placements.h"
#include "chooser/adversary.h"
#include "chooser/board_features.h"
#include "model/game/game_start.h"

struct AttackSettings {
    Adversary adversary;
    int beam;           // games kept at each piece
    int64_t maxPieces;  // a game still running after this many pieces stops
    const FeatureWeights* weights;
    GameStart start;
    int threads;  // how many search at once; the result does not depend on it
};

// One piece of the game found: where it was fixed and the keys that bring it there from
// where it enters, without the final step down that fixes it.
struct AttackMove {
    Placement placement;
    std::vector<BotMove> keys;
};

struct AttackResult {
    int32_t rows;
    int64_t pieces;
    bool over;                      // the game ended; otherwise it is still running at the cap
    std::vector<AttackMove> moves;  // the game, piece by piece
    int64_t placementsTried;        // every placement scored
};

AttackResult attack(const AttackSettings& settings);
