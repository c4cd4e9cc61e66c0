// The board evaluation of a record's grid.
#include "chooser/board_evaluation.h"

int32_t evaluateBoard(const GameState& state) { return evaluateMaskBoard(maskBoardOf(state)); }
