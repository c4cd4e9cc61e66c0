// Test helpers shared by the model and chooser tests.
#include "board_builder.h"

#include <cstring>

#include "model/rules/game_random.h"

GameState freshRecord() {
    restoreGameRandomState(1);
    GameState state;
    std::memset(&state, 0, sizeof state);
    return state;
}

void setRow(GameState& state, int row, const char* picture) {
    for (int column = 0; column < BOARD_COLUMNS; ++column)
        state.cells[row][column] = picture[column] == '#' ? FILLED_CELL : 0;
}

GameState boardFromBottom(std::initializer_list<const char*> pictures) {
    GameState state = freshRecord();
    int row = BOARD_ROWS - static_cast<int>(pictures.size());
    for (const char* picture : pictures) setRow(state, row++, picture);
    return state;
}

GameState randomBoard(std::mt19937& random, int heights) {
    GameState state = freshRecord();
    int height = static_cast<int>(random() % heights);
    int density = 40 + static_cast<int>(random() % 60);
    for (int row = BOARD_ROWS - height; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (static_cast<int>(random() % 100) < density) state.cells[row][column] = FILLED_CELL;
    return state;
}

std::vector<std::pair<int, int>> filledCells(const GameState& state) {
    std::vector<std::pair<int, int>> cells;
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (state.cells[row][column] != 0) cells.emplace_back(row, column);
    return cells;
}

bool unchanged(const GameState& before, const GameState& after) {
    return std::memcmp(&before, &after, sizeof before) == 0;
}
