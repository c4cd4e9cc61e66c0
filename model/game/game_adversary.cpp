// A running game's adversary on the process-wide random source.
#include "model/game/game_adversary.h"

#include "model/rules/game_random.h"
#include "model/rules/row_masks.h"

void startAdversaryGame(GameAdversary& game) { game.memory = AdversaryMemory{}; }

int32_t nextKindInGame(GameAdversary& game, const GameState& state, int32_t fallingKind) {
    MaskBoard board = maskBoardOf(state);
    uint32_t random = gameRandomState();
    int32_t kind = pickNextKind(game.adversary, game.memory, board, fallingKind, random);
    restoreGameRandomState(random);
    rememberChoice(game.adversary, game.memory, board, fallingKind, kind);
    return kind;
}
