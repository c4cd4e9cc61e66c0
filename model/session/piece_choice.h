// Why this piece: what the adversary saw when it chose the piece now in the preview, kept at
// each choice so that a panel turned on at any time can show how bad each kind's best answer
// was, the chosen kind marked. The full scoring costs more than the choice, so it is worked
// out only when asked, once per choice.
#pragma once

#include <cstdint>

#include "chooser/kind_scores.h"
#include "model/game/game_adversary.h"
#include "model/rules/row_masks.h"

struct PieceChoice {
    MaskBoard board;      // the grid that the last choice was made on
    int32_t fallingKind;  // the piece that had just started to fall on it
    int32_t chosen;       // the kind it handed out, which the memory now holds
    bool made;            // a choice was made since the game record was created
    bool scored;          // `scores` are the last choice's
    KindScores scores;
};

// The game's next kind, as nextKindInGame names it, with what the choice saw kept.
int32_t chooseNextKindKept(GameAdversary& game, PieceChoice& choice, const GameState& state,
                           int32_t fallingKind);

enum class ChoiceShown {
    None,    // no piece has been chosen yet
    Blind,   // the adversary chooses without looking at the board (sz, nahodny)
    Scored,  // every kind scored as the adversary saw it, the chosen one named
};

// The last choice of `game`'s adversary explained: scored in full at the first ask after it.
ChoiceShown explainChoice(const GameAdversary& game, PieceChoice& choice, KindScores& scores);
