// Feature extraction on row masks; higher weighted scores are better for the player.
#include "chooser/board_features.h"

const NamedWeights WEIGHT_SETS[WEIGHT_SET_COUNT] = {
    {"evolved",
     "the six features, weights found by a genetic search",
     {-4.500158825082766, 0.0, 3.4181268101392694, -3.2178882868487753, -9.348695305445199,
      -7.899265427351652, -3.3855972247263626, 0.0, 0.0}},
    {"hand-tuned",
     "the six features, weights set by hand",
     {-1.0, 0.0, 1.0, -1.0, -1.0, -4.0, -1.0, 0.0, 0.0}},
    {"heights",
     "aggregate height, rows cleared, holes and bumpiness",
     {0.0, 0.760666, 0.0, 0.0, 0.0, -0.35663, 0.0, -0.510066, -0.184483}},
};

const FeatureWeights& EVOLVED_WEIGHTS = WEIGHT_SETS[0].weights;

const NamedWeights* findWeights(std::string_view name) {
    for (const NamedWeights& set : WEIGHT_SETS)
        if (name == set.name) return &set;
    return nullptr;
}

BoardFeatures measureBoard(const MaskBoard& board) {
    BoardFeatures features{};
    for (int y = 0; y < BOARD_ROWS; ++y) {
        // Walls are filled: put a filled bit on both sides of the row and count changes.
        uint32_t walled =
            (static_cast<uint32_t>(board.rows[y]) << 1) | 1u | (1u << (BOARD_COLUMNS + 1));
        features.rowTransitions +=
            countCells((walled ^ (walled >> 1)) & ((1u << (BOARD_COLUMNS + 1)) - 1));
    }
    uint16_t above = 0;     // columns with a filled cell above the current row
    uint16_t previous = 0;  // the row above, for column transitions
    int heights[BOARD_COLUMNS] = {};
    // wellRuns[k]: columns whose run of well cells down to the current row is longer
    // than k. A well cell at depth d adds d, i.e. one for each run it belongs to.
    uint16_t wellRuns[BOARD_ROWS];
    int wellRunCount = 0;
    for (int y = 0; y < BOARD_ROWS; ++y) {
        uint16_t row = board.rows[y];
        if (y > 0) features.columnTransitions += countCells(row ^ previous);
        uint16_t empty = static_cast<uint16_t>(~row & FULL_ROW_MASK);
        features.holes += countCells(empty & above);
        // Each column topped in this row, lowest first: the cells below the lowest set bit
        // of `topped` count its column.
        for (uint32_t topped = row & ~above; topped != 0; topped &= topped - 1)
            heights[countCells((topped & (0u - topped)) - 1)] = BOARD_ROWS - y;
        above |= row;
        // A well cell is empty with filled cells (or walls) on both sides.
        uint32_t walled = (static_cast<uint32_t>(row) << 1) | 1u | (1u << (BOARD_COLUMNS + 1));
        uint16_t wells = static_cast<uint16_t>(empty & (walled >> 2) & walled);
        int k = 0;
        for (uint16_t run = wells; run != 0; ++k) {
            features.wellSums += countCells(run);
            uint16_t longer = k < wellRunCount ? wellRuns[k] : 0;
            wellRuns[k] = run;
            run = wells & longer;
        }
        wellRunCount = k;
        previous = row;
    }
    // The floor counts as filled: an empty bottom cell is one more change.
    features.columnTransitions += countCells(~previous & FULL_ROW_MASK);
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        features.aggregateHeight += heights[x];
        if (x > 0) {
            int step = heights[x] - heights[x - 1];
            features.bumpiness += step < 0 ? -step : step;
        }
    }
    return features;
}

BoardFeatures placeAndMeasure(MaskBoard& board, const PieceMask& piece, int x, int y) {
    lockPieceMasks(board, piece, x, y);
    return measurePlacement(board, piece, y, removeFullRows(board));
}

BoardFeatures measurePlacement(const MaskBoard& board, const PieceMask& piece, int y,
                               uint32_t removed) {
    BoardFeatures features = measureBoard(board);
    // Heights count rows from the floor: the bottom row is height 1.
    double top = BOARD_ROWS - y;
    double bottom = BOARD_ROWS - (y + piece.height - 1);
    features.landingHeight = (top + bottom) / 2.0;
    features.rowsCleared = countCells(removed);
    int pieceCellsRemoved = 0;
    for (int r = 0; r < piece.height; ++r)
        if (removed & (1u << (y + r))) pieceCellsRemoved += countCells(piece.rows[r]);
    features.erodedCells = features.rowsCleared * pieceCellsRemoved;
    return features;
}

double weightedScore(const BoardFeatures& f, const FeatureWeights& w) {
    return w.landingHeight * f.landingHeight + w.rowsCleared * f.rowsCleared +
           w.erodedCells * f.erodedCells + w.rowTransitions * f.rowTransitions +
           w.columnTransitions * f.columnTransitions + w.holes * f.holes + w.wellSums * f.wellSums +
           w.aggregateHeight * f.aggregateHeight + w.bumpiness * f.bumpiness;
}
