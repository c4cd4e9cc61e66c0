// The attacker's beam search. Each piece, every kept game's reachable placements are scored
// (on several threads, each game's placements by one of them, so the order of the results
// never depends on the threads) and the best W distinct games go on.
#include "tools/sim/attacker.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unordered_set>

#include "bot/placement_planner.h"
#include "chooser/seen_boards.h"
#include "model/game/pure_game.h"
#include "model/rules/board.h"

namespace {

// Rows already removed count for this much of the evaluation: a game that has scored is
// worth more than one with a slightly better board.
constexpr double ROW_VALUE = 10.0;
// A board on which some picture cannot enter is close to lost.
constexpr double BLOCKED_ENTRY_VALUE = -1e6;

// A kept game and the last step of its line.
struct Node {
    PureGame game;
    int32_t line;  // index into the steps of all lines; -1 before the first piece
};

// The lines of all games, as a tree: each step names the one before.
struct LineStep {
    int32_t previous;
    Placement placement;
};

// A placement of one kept game's falling piece, scored.
struct Child {
    double value;
    int32_t parent;  // the kept game's index
    Placement placement;
    PureStep step;
};

// Every reachable placement of the game's falling piece, scored with the step it leads to.
void expand(const Node& node, int32_t parent, const FeatureWeights& weights,
            PlacementSearch& search, std::vector<Child>& children) {
    const PureGame& game = node.game;
    findReachablePlacements(game.board, game.kind, SPAWN_COLUMN, SPAWN_ROW, game.rotation, search);
    for (const Placement& p : search.placements) {
        Child child{0.0, parent, p, planStep(game, p.x, p.y, p.rotation)};
        MaskBoard after = game.board;
        BoardFeatures f = placeAndMeasure(after, pieceMask(game.kind, p.rotation), p.x, p.y);
        child.value = weightedScore(f, weights) + ROW_VALUE * (game.score + child.step.rows) +
                      BLOCKED_ENTRY_VALUE * blockedEntries(child.step.board);
        children.push_back(child);
    }
}

// Two kept games that reach the same board with the same pieces to come play on alike
// (the random state is the same for every game after the same number of pieces).
struct GameKey {
    PackedBoard board;
    int32_t kinds;
    bool operator==(const GameKey& other) const {
        return board == other.board && kinds == other.kinds;
    }
};
struct GameKeyHash {
    size_t operator()(const GameKey& key) const {
        uint64_t hash = key.kinds;
        for (uint64_t word : key.board.words) hash = (hash ^ word) * 0x9E3779B97F4A7C15u;
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};

// The better of two finished or capped games: more rows, then still running, then longer.
bool betterEnd(const PureGame& a, const PureGame& b) {
    if (a.score != b.score) return a.score > b.score;
    if (a.over != b.over) return !a.over;
    return a.pieces > b.pieces;
}

}  // namespace

AttackResult attack(const AttackSettings& settings) {
    AttackResult result{0, 0, false, {}, 0};
    std::vector<LineStep> steps;
    std::vector<Node> beam{Node{startPureGame(settings.start, settings.adversary), -1}};
    Node best = beam[0];  // until a game ends or reaches the cap; a game that cannot even
                          // start is its own result
    int threads = std::max(1, settings.threads);
    std::vector<PlacementSearch> searches(threads);

    for (int64_t piece = 0; piece < settings.maxPieces && !beam.empty(); ++piece) {
        std::vector<std::vector<Child>> childrenOf(beam.size());
        std::atomic<size_t> nextParent{0};
        auto work = [&](int worker) {
            for (size_t i; (i = nextParent++) < beam.size();)
                expand(beam[i], static_cast<int32_t>(i), *settings.weights, searches[worker],
                       childrenOf[i]);
        };
        std::vector<std::thread> helpers;
        for (int worker = 1; worker < threads; ++worker) helpers.emplace_back(work, worker);
        work(0);
        for (std::thread& helper : helpers) helper.join();

        std::vector<Child> children;
        for (std::vector<Child>& some : childrenOf)
            children.insert(children.end(), some.begin(), some.end());
        result.placementsTried += static_cast<int64_t>(children.size());
        // Best first; equal values keep the order they were found in.
        std::stable_sort(children.begin(), children.end(),
                         [](const Child& a, const Child& b) { return a.value > b.value; });

        std::vector<Node> next;
        std::unordered_set<GameKey, GameKeyHash> kept;
        for (const Child& child : children) {
            const Node& parent = beam[child.parent];
            if (child.step.over) {
                // A game that ends here is a result, not a game to go on with.
                Node end = parent;
                applyStep(end.game, child.step);
                if (best.game.pieces == 0 || betterEnd(end.game, best.game)) {
                    steps.push_back(LineStep{parent.line, child.placement});
                    end.line = static_cast<int32_t>(steps.size() - 1);
                    best = end;
                }
                continue;
            }
            if (static_cast<int>(next.size()) == settings.beam) continue;
            GameKey key{packBoard(child.step.board),
                        parent.game.nextKind * PIECE_KINDS + child.step.nextKind};
            if (!kept.insert(key).second) continue;
            steps.push_back(LineStep{parent.line, child.placement});
            next.push_back(Node{parent.game, static_cast<int32_t>(steps.size() - 1)});
            applyStep(next.back().game, child.step);
        }
        beam.swap(next);
    }
    // The games still running at the cap.
    for (const Node& node : beam)
        if (best.game.pieces == 0 || betterEnd(node.game, best.game)) best = node;

    result.rows = best.game.score;
    result.pieces = best.game.pieces;
    result.over = best.game.over;
    // The line back from its last step, then played again to find each piece's keys.
    std::vector<Placement> placements;
    for (int32_t at = best.line; at >= 0; at = steps[at].previous)
        placements.push_back(steps[at].placement);
    PureGame replay = startPureGame(settings.start, settings.adversary);
    for (auto p = placements.rbegin(); p != placements.rend(); ++p) {
        findReachablePlacements(replay.board, replay.kind, SPAWN_COLUMN, SPAWN_ROW, replay.rotation,
                                searches[0]);
        result.moves.push_back(AttackMove{*p, pathToPlacement(searches[0], *p)});
        placeAndAdvance(replay, p->x, p->y, p->rotation);
    }
    return result;
}
