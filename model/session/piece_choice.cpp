// The last choice kept, and scored when someone asks.
#include "model/session/piece_choice.h"

int32_t chooseNextKindKept(GameAdversary& game, PieceChoice& choice, const GameState& state,
                           int32_t fallingKind) {
    choice.board = maskBoardOf(state);
    choice.fallingKind = fallingKind;
    choice.made = true;
    choice.scored = false;
    return nextKindInGame(game, state, fallingKind);
}

ChoiceShown explainChoice(const GameAdversary& game, PieceChoice& choice, KindScores& scores) {
    if (!choice.made) return ChoiceShown::None;
    if (!choice.scored) {
        // The memory has gained the board of this choice since, and nothing else. No answer
        // can lead back to it: a piece adds 4 cells and a removed row takes 10, so boards
        // that one to four more pieces leave never have as many cells. So the memory scores
        // as it did when the choice was made.
        if (!scoreKinds(game.adversary, game.memory, choice.board, choice.fallingKind,
                        choice.scores))
            return ChoiceShown::Blind;
        choice.scored = true;
    }
    scores = choice.scores;
    return ChoiceShown::Scored;
}
