// Exhaustive search over the reachable placements of the falling piece and, optionally,
// of the previewed piece on each board that the first one leaves, and of the piece after
// it, whose kind the adversary's own rule gives away.
#include "bot/placement_planner.h"

#include <algorithm>

#include "model/rules/board.h"

namespace {

// A move after which the next piece cannot enter at the top ends the game: worse than any
// board. Each picture that could not enter after the last placement is nearly as bad,
// since the adversary hands out exactly such a piece when it can.
constexpr double LOSING_SCORE = -1e12;
constexpr double BLOCKED_ENTRY_SCORE = -1e9;

// How many of the best first placements, and of the best answers with the previewed piece
// on each, the third piece is tried after: the full tree would cost thirty times as much,
// and the placements left out are those the two-piece score already rates poorly.
constexpr size_t THIRD_PIECE_FIRST_MOVES = 4;
constexpr size_t THIRD_PIECE_SECOND_MOVES = 4;

// The part of a move's score that belongs to the move rather than the board it leaves.
double moveTerms(const BoardFeatures& f, const FeatureWeights& w) {
    return w.landingHeight * f.landingHeight + w.rowsCleared * f.rowsCleared +
           w.erodedCells * f.erodedCells;
}

// One reachable placement with the board it leaves and the score of the line up to it.
struct Candidate {
    Placement placement;
    MaskBoard after;
    double lineMoves;  // move terms of every placement in the line, this one included
    double value;      // the line's score as far as it has been searched
};

// Every reachable placement of `kind` entering in `rotation`, scored as the last move of a
// line whose earlier moves add `earlierMoves`.
std::vector<Candidate> expand(const MaskBoard& board, int kind, int x, int y, int rotation,
                              double earlierMoves, const FeatureWeights& weights,
                              PlacementSearch& search) {
    findReachablePlacements(board, kind, x, y, rotation, search);
    std::vector<Candidate> candidates;
    candidates.reserve(search.placements.size());
    for (const Placement& p : search.placements) {
        Candidate c{p, board, 0.0, 0.0};
        BoardFeatures f = placeAndMeasure(c.after, pieceMask(kind, p.rotation), p.x, p.y);
        c.lineMoves = earlierMoves + moveTerms(f, weights);
        c.value = weightedScore(f, weights) - moveTerms(f, weights) + c.lineMoves +
                  BLOCKED_ENTRY_SCORE * blockedEntries(c.after);
        candidates.push_back(c);
    }
    return candidates;
}

double bestValue(const std::vector<Candidate>& candidates) {
    double best = LOSING_SCORE;
    for (const Candidate& c : candidates) best = std::max(best, c.value);
    return best;
}

// Indices of the `count` highest values, best first, ties in search order.
std::vector<size_t> bestIndices(const std::vector<Candidate>& candidates, size_t count) {
    std::vector<size_t> order(candidates.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return candidates[a].value > candidates[b].value; });
    if (order.size() > count) order.resize(count);
    return order;
}

}  // namespace

int blockedEntries(const MaskBoard& board) {
    // Every picture entering at column 4 lies within rows 0..3 and columns 4..7; a board
    // with nothing there blocks none of them, which is nearly always the case.
    constexpr uint16_t ENTRY_COLUMNS = 0xFu << SPAWN_COLUMN;
    if (((board.rows[0] | board.rows[1] | board.rows[2] | board.rows[3]) & ENTRY_COLUMNS) == 0)
        return 0;
    int blocked = 0;
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation)
            if (!pieceFitsMasks(board, pieceMask(kind, rotation), SPAWN_COLUMN, SPAWN_ROW))
                ++blocked;
    return blocked;
}

BotSettings defaultBotSettings() { return BotSettings{EVOLVED_WEIGHTS, true, false}; }

BotDecision decidePlacement(const BotView& view, const BotSettings& settings,
                            const std::vector<Placement>* allowed) {
    BotDecision decision{false, Placement{0, 0, 0}, {}, LOSING_SCORE};
    const FeatureWeights& weights = settings.weights;
    PlacementSearch search;
    PlacementSearch deeper;
    std::vector<Candidate> first =
        expand(view.board, view.kind, view.x, view.y, view.rotation, 0.0, weights, search);
    if (allowed != nullptr) {
        auto refused = [&](const Candidate& c) {
            return std::none_of(allowed->begin(), allowed->end(), [&](const Placement& p) {
                return samePlace(view.kind, p, c.placement);
            });
        };
        first.erase(std::remove_if(first.begin(), first.end(), refused), first.end());
    }
    if (first.empty()) return decision;

    if (settings.useNextPiece) {
        for (Candidate& c : first)
            c.value = bestValue(expand(c.after, view.nextKind, SPAWN_COLUMN, SPAWN_ROW,
                                       view.nextRotation, c.lineMoves, weights, deeper));
    }
    std::vector<size_t> chosenFrom(first.size());
    for (size_t i = 0; i < first.size(); ++i) chosenFrom[i] = i;

    if (settings.useNextPiece && settings.predictAdversary) {
        // Only the most promising first moves are searched three pieces deep, and the
        // choice is made among them by that deeper score.
        chosenFrom = bestIndices(first, THIRD_PIECE_FIRST_MOVES);
        PlacementSearch third;
        for (size_t i : chosenFrom) {
            Candidate& c = first[i];
            if (c.value <= LOSING_SCORE) continue;
            uint32_t random = view.random;
            int32_t thirdKind =
                pickNextKind(view.adversary, view.memory, c.after, view.nextKind, random);
            std::vector<Candidate> second = expand(c.after, view.nextKind, SPAWN_COLUMN, SPAWN_ROW,
                                                   view.nextRotation, c.lineMoves, weights, deeper);
            double best = LOSING_SCORE;
            // The third piece's entering rotation is not known yet: it is searched from
            // rotation 0, and the blocked-entry term guards the other three.
            for (size_t j : bestIndices(second, THIRD_PIECE_SECOND_MOVES))
                best = std::max(
                    best, bestValue(expand(second[j].after, thirdKind, SPAWN_COLUMN, SPAWN_ROW, 0,
                                           second[j].lineMoves, weights, third)));
            c.value = best;
        }
    }

    for (size_t i : chosenFrom) {
        if (!decision.found || first[i].value > decision.score) {
            decision.found = true;
            decision.placement = first[i].placement;
            decision.score = first[i].value;
        }
    }
    decision.moves = pathToPlacement(search, decision.placement);
    return decision;
}
