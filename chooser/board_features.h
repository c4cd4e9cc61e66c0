// The board features of the usual linear evaluations for this kind of game (the six of the
// best-known hand-tuned player, and the height measures of later ones), their weighted sum,
// and the weight sets by name. The bot and the attacker play by them, and the `zly`
// adversary models its player with them.
#pragma once

#include <string_view>

#include "model/rules/row_masks.h"

struct BoardFeatures {
    double landingHeight;  // height of the fixed piece's middle row above the floor
    int rowsCleared;
    int erodedCells;        // rows cleared times the piece's cells in them
    int rowTransitions;     // filled/empty changes along each row, walls count as filled
    int columnTransitions;  // filled/empty changes down each column, the floor filled
    int holes;              // empty cells with a filled cell somewhere above them
    int wellSums;           // per well of depth d (empty, both sides filled): 1 + 2 + ... + d
    int aggregateHeight;    // sum of the column heights
    int bumpiness;          // sum of height differences of neighbouring columns
};

struct FeatureWeights {
    double landingHeight;
    double rowsCleared;
    double erodedCells;
    double rowTransitions;
    double columnTransitions;
    double holes;
    double wellSums;
    double aggregateHeight;
    double bumpiness;
};

// A weight set with the name that `kostrel-sim --weights` takes.
struct NamedWeights {
    const char* name;  // lowercase ASCII and '-'
    const char* what;  // one line for `kostrel-sim weights`
    FeatureWeights weights;
};

constexpr int WEIGHT_SET_COUNT = 3;
// The first is the bot's and the attacker's default.
extern const NamedWeights WEIGHT_SETS[WEIGHT_SET_COUNT];
// The six features weighted by a genetic search; the bot's default.
extern const FeatureWeights& EVOLVED_WEIGHTS;

// The set called `name`, or null.
const NamedWeights* findWeights(std::string_view name);

// Fixes the piece at (x, y) on `board`, which then holds the board left after the row
// removal, and returns the features of that move and that board.
BoardFeatures placeAndMeasure(MaskBoard& board, const PieceMask& piece, int x, int y);

// The same for a piece already fixed with its box's top at row y: `board` is what was left
// once the rows `removed` (bit r for row r) were taken out.
BoardFeatures measurePlacement(const MaskBoard& board, const PieceMask& piece, int y,
                               uint32_t removed);

// The features of a board alone, with nothing placed (landing height and rows are 0).
BoardFeatures measureBoard(const MaskBoard& board);

double weightedScore(const BoardFeatures& features, const FeatureWeights& weights);
