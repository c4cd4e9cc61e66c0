// The last choice kept, and scored when someone asks.
#include "model/session/piece_choice.h"

int32_t chooseNextKindKept(GameAdversary& game, PieceChoice& choice, const GameState& state,
                           int32_t fallingKind) {
    choice.board = maskBoardOf(state);
    choice.fallingKind = fallingKind;
    choice.made = true;
    choice.scored = false;
    choice.chosen = nextKindInGame(game, state, fallingKind);
    return choice.chosen;
}

ChoiceShown explainChoice(const GameAdversary& game, PieceChoice& choice, KindScores& scores) {
    if (!choice.made) return ChoiceShown::None;
    if (!choice.scored) {
        // The memory has gained this choice since, and nothing else: the scoring leaves it
        // out, so the kinds are scored as they were when the choice was made.
        if (!scoreKinds(game.adversary, game.memory, choice.board, choice.fallingKind,
                        choice.scores, choice.chosen))
            return ChoiceShown::Blind;
        choice.scored = true;
    }
    scores = choice.scores;
    return ChoiceShown::Scored;
}
