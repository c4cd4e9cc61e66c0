// What an adversary that looks at the board saw when it chose: how bad each kind's best
// answer was for the player, by the adversary's own measure, and the kind it chose. The
// choosers never work this out in full (they stop looking at a kind once it cannot win), so
// this is computed apart, only when someone asks.
#pragma once

#include <cstdint>

#include "model/rules/row_masks.h"

struct KindScores {
    int32_t badness[PIECE_KINDS];     // higher is worse for the player
    MaskBoard answers[PIECE_KINDS];   // the board each kind's best answer leaves
    uint32_t timesSeen[PIECE_KINDS];  // how often that board was seen before; always 0 for
                                      // an adversary without a loop guard
    uint32_t givenBefore;             // bit k: kind k was handed out before on this surface after
                                      // this falling kind (zly avoids it while it has another)
    int32_t chosen;                   // the kind handed out
};
