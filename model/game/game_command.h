// The command protocol between the main window and a board view, and its dispatch to the
// controller. The window message that carries it is the front end's business.
#pragma once

#include <cstdint>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"

enum GameCommand : uint32_t {
    CMD_MOVE_LEFT = 1,
    CMD_MOVE_RIGHT = 2,
    CMD_STEP_DOWN = 3,
    CMD_ROTATE = 4,
    CMD_GET_SCORE = 5,
    CMD_NEW_GAME = 6,
    CMD_GAME_OVER = 7,  // sent by the view to its parent; the view ignores it
    CMD_PAUSE = 8,
    CMD_RESUME = 9,
    CMD_SET_SCORE_LABEL = 10,
    CMD_SET_PREVIEW = 11,
};

// Applies one command code with its argument; the result is what the sender gets back:
// the score for CMD_GET_SCORE, 1 for every other code, unknown ones included.
int32_t applyGameCommand(GameState& state, const GameHost& host, uint32_t code, uint32_t argument);
