// The board as text: 20 lines of 10 characters, '.' empty and '#' filled, row 0 first.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "model/rules/game_state.h"

// Reads a board into state.cells (the other fields are left alone). On bad input returns
// false with a one-line reason naming the line; reading stops at the first fault.
bool readBoardText(std::istream& in, GameState& state, std::string& error);

// Writes the grid as 20 lines, each ending in "\n".
void writeBoardText(std::ostream& out, const GameState& state);
