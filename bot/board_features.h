// The board features of the well-known linear evaluations for this kind of game (Pierre
// Dellacherie's six, and the height measures of later players), and their weighted sum.
#pragma once

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

// Pierre Dellacherie's hand-tuned weights (2003).
extern const FeatureWeights DELLACHERIE_WEIGHTS;
// The same features with the weights that Islam El-Ashi's El-Tetris found by a genetic search.
extern const FeatureWeights EL_TETRIS_WEIGHTS;
// Yiyuan Lee's four features and weights (aggregate height, rows, holes, bumpiness).
extern const FeatureWeights YIYUAN_LEE_WEIGHTS;

// Fixes the piece at (x, y) on `board`, which then holds the board left after the row
// removal, and returns the features of that move and that board.
BoardFeatures placeAndMeasure(MaskBoard& board, const PieceMask& piece, int x, int y);

// The features of a board alone, with nothing placed (landing height and rows are 0).
BoardFeatures measureBoard(const MaskBoard& board);

double weightedScore(const BoardFeatures& features, const FeatureWeights& weights);
