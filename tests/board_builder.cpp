// Test helpers shared by the model and chooser tests.
#include "board_builder.h"

#include <algorithm>
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

std::vector<std::pair<int, int>> filledCells(const GameState& state) {
    std::vector<std::pair<int, int>> cells;
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (state.cells[row][column] != 0) cells.emplace_back(row, column);
    return cells;
}

static RecordingHost& recorderOf(void* self) { return *static_cast<RecordingHost*>(self); }

GameHost RecordingHost::host() {
    return GameHost{
        this,
        [](void* self) {
            auto* recorder = static_cast<RecordingHost*>(self);
            recorder->calls += 'S';
            return recorder->timerToGrant;
        },
        [](void* self) { static_cast<RecordingHost*>(self)->calls += 'T'; },
        [](void* self) { static_cast<RecordingHost*>(self)->calls += 'G'; },
        [](void* self) { static_cast<RecordingHost*>(self)->calls += 'R'; },
        [](void* self, uint32_t label, const char* text) {
            recorderOf(self).calls += 'L';
            recorderOf(self).texts.emplace_back(label, text);
        },
        [](void* self, uint32_t preview, uint32_t word) {
            recorderOf(self).calls += 'P';
            recorderOf(self).previewWords.emplace_back(preview, word);
        },
        nextKind,
    };
}

int RecordingHost::count(char call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}
