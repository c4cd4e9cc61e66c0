// The chooser as the very first thing a fresh process does: nothing may have to be set up
// before it gives the right answer. A program of its own, with no test framework that
// could run code first.
#include <cstdio>

#include "chooser/next_piece_chooser.h"

int main() {
    GameState state{};
    for (int column = 0; column < BOARD_COLUMNS - 1; ++column)
        state.cells[19][column] = FILLED_CELL;
    int32_t kind = chooseNextKind(state, 0);
    if (kind == 3) return 0;
    std::fprintf(stderr, "chooser first in a fresh process: kind %d, expected 3\n", kind);
    return 1;
}
