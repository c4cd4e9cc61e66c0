// Test helpers: fresh records and boards from row pictures.
#pragma once

#include <initializer_list>
#include <random>
#include <vector>

#include "model/rules/game_state.h"

// A zeroed record, with GameRandom rewound to its starting state, so every test starts
// like a fresh program.
GameState freshRecord();

// Fills one row from ten characters, '#' filled and '.' empty.
void setRow(GameState& state, int row, const char* picture);
// A fresh record whose bottom rows are these pictures, the last one row 19.
GameState boardFromBottom(std::initializer_list<const char*> pictures);

// A fresh record with a random stack, holes and overhangs and full rows among them: a
// height below `heights`, then a density of 40..99 %, then each cell of those bottom rows
// filled with that chance, drawn in that order so that a seed gives the same board.
GameState randomBoard(std::mt19937& random, int heights);

// The record's filled cells as (row, column) pairs, row by row.
std::vector<std::pair<int, int>> filledCells(const GameState& state);

// Whether a record is byte for byte what it was.
bool unchanged(const GameState& before, const GameState& after);
