// Test helpers: records with a built piece table, boards from row pictures, a recording host.
#pragma once

#include <string>
#include <vector>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"

// A zeroed record, with GameRandom rewound to its starting state, so every test starts
// like a fresh program.
GameState freshRecord();

// Fills one row from ten characters, '#' filled and '.' empty.
void setRow(GameState& state, int row, const char* picture);

// The record's filled cells as (row, column) pairs, row by row.
std::vector<std::pair<int, int>> filledCells(const GameState& state);

// A host that counts every call and keeps their order as letters: 'S' start, 'T' stop,
// 'G' game over, 'R' repaint, 'L' label text, 'P' preview word; the texts and words are
// kept with the handle word they were sent to.
struct RecordingHost {
    std::string calls;
    uint32_t timerToGrant = 1;
    std::vector<std::pair<uint32_t, std::string>> texts;
    std::vector<std::pair<uint32_t, uint32_t>> previewWords;
    NextKindSource nextKind = nullptr;
    GameHost host();
    int count(char call) const;
};
