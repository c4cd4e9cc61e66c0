// Exhaustive search over the reachable placements of the falling piece and, optionally,
// of the previewed piece on each board that the first one leaves.
#include "bot/placement_planner.h"

#include "model/piece_advance.h"

namespace {

// A move after which the next piece cannot enter at the top ends the game: worse than any
// board. Each picture that could not enter after the pair is nearly as bad, since the
// adversary hands out exactly such a piece when it can.
constexpr double LOSING_SCORE = -1e12;
constexpr double BLOCKED_ENTRY_SCORE = -1e9;

// The part of a move's score that belongs to the move rather than the board it leaves.
double moveTerms(const BoardFeatures& f, const FeatureWeights& w) {
    return w.landingHeight * f.landingHeight + w.rowsCleared * f.rowsCleared +
           w.erodedCells * f.erodedCells;
}

// Pictures of the seven kinds that would not fit where a new piece enters: each is a way
// for the next piece to end the game.
int blockedEntries(const BotBoard& board) {
    int blocked = 0;
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation)
            if (!botPieceFits(board, pieceMasks(kind, rotation), SPAWN_COLUMN, SPAWN_ROW))
                ++blocked;
    return blocked;
}

// The best pair score reachable with the previewed piece on `board`.
double bestFollowUp(const BotBoard& board, int nextKind, int nextRotation,
                    const BoardFeatures& first, const FeatureWeights& weights,
                    PlacementSearch& search) {
    findReachablePlacements(board, nextKind, SPAWN_COLUMN, SPAWN_ROW, nextRotation, search);
    if (search.placements.empty()) return LOSING_SCORE;
    double best = LOSING_SCORE;
    for (const Placement& p : search.placements) {
        BotBoard after = board;
        BoardFeatures second = placeAndMeasure(after, pieceMasks(nextKind, p.rotation), p.x, p.y);
        double score = weightedScore(second, weights) + moveTerms(first, weights);
        score += BLOCKED_ENTRY_SCORE * blockedEntries(after);
        if (score > best) best = score;
    }
    return best;
}

}  // namespace

BotSettings defaultBotSettings() { return BotSettings{EL_TETRIS_WEIGHTS, true}; }

BotDecision decidePlacement(const BotView& view, const BotSettings& settings) {
    BotDecision decision{false, Placement{0, 0, 0}, {}, LOSING_SCORE};
    PlacementSearch search;
    findReachablePlacements(view.board, view.kind, view.x, view.y, view.rotation, search);
    PlacementSearch followUpSearch;
    for (const Placement& p : search.placements) {
        BotBoard after = view.board;
        BoardFeatures features =
            placeAndMeasure(after, pieceMasks(view.kind, p.rotation), p.x, p.y);
        double score;
        if (!botPieceFits(after, pieceMasks(view.nextKind, view.nextRotation), SPAWN_COLUMN,
                          SPAWN_ROW)) {
            score = LOSING_SCORE;
        } else if (settings.useNextPiece) {
            score = bestFollowUp(after, view.nextKind, view.nextRotation, features,
                                 settings.weights, followUpSearch);
        } else {
            score = weightedScore(features, settings.weights);
            score += BLOCKED_ENTRY_SCORE * blockedEntries(after);
        }
        if (!decision.found || score > decision.score) {
            decision.found = true;
            decision.placement = p;
            decision.score = score;
        }
    }
    if (decision.found) decision.moves = pathToPlacement(search, decision.placement);
    return decision;
}
