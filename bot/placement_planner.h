// The bot's choice of where the falling piece goes: every placement the commands can
// reach, scored by a linear board evaluation, looking one piece further when the next
// piece is known, and one more when the adversary's rule gives its kind away.
#pragma once

#include <cstdint>
#include <vector>

#include "bot/reachable_placements.h"
#include "chooser/adversary.h"
#include "chooser/board_features.h"

struct BotSettings {
    FeatureWeights weights;
    bool useNextPiece;      // also place the previewed piece and judge the pair
    bool predictAdversary;  // and a third piece, of the kind the adversary's rule will
                            // pick for the board the first piece leaves (BotView says how)
};

// What the bot sees of a game when a new piece starts falling.
struct BotView {
    MaskBoard board;
    int kind;
    int rotation;
    int x;
    int y;
    int nextKind;
    int nextRotation;
    // What foreseeing the adversary takes: its rule, what it remembers of the game and the
    // game's random state.
    Adversary adversary;
    const AdversaryMemory& memory;
    uint32_t random;
};

struct BotDecision {
    bool found;  // false only when the falling piece fits nowhere, i.e. not where it stands
    Placement placement;
    std::vector<BotMove> moves;  // the commands that bring the piece there, without the
                                 // final step down that fixes it
    double score;
};

// With `allowed`, the falling piece goes only to one of those placements (matched by the
// cells they fill, so any rotation with the same picture will do); none found when none of
// them is reachable.
BotDecision decidePlacement(const BotView& view, const BotSettings& settings,
                            const std::vector<Placement>* allowed = nullptr);

// Pictures of the seven kinds that would not fit where a new piece enters: each is a way
// for the next piece to end the game, which any search that looks ahead must fear.
int blockedEntries(const MaskBoard& board);

// What a player sees, searched with the evolved weights: the falling and the previewed piece.
// Setting predictAdversary also searches a third piece, which no screen shows.
BotSettings defaultBotSettings();
