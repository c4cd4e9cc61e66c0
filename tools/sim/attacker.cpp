// The attacker's beam search. Each piece, every kept game's reachable placements are scored
// (on several threads, each game's placements by one of them, so the order of the results
// never depends on the threads) and the best W distinct games go on. The adversary's pick,
// the costliest part of a step, is drawn only for the best placements, as far down as it
// takes to find the W games.
#include "tools/sim/attacker.h"

#include <algorithm>
#include <unordered_set>

#include "bot/placement_planner.h"
#include "chooser/seen_boards.h"
#include "model/game/pure_game.h"
#include "model/rules/board.h"
#include "tools/sim/worker_threads.h"

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

// A placement of one kept game's falling piece, scored. The adversary's pick in its step
// is drawn only if the game may be kept: the value and the end of the game do not need it.
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
        Child child{0.0, parent, p, fixPiece(game, p.x, p.y, p.rotation)};
        BoardFeatures f = measurePlacement(child.step.board, pieceMask(game.kind, p.rotation), p.y,
                                           child.step.removed);
        child.value = weightedScore(f, weights) + ROW_VALUE * (game.score + child.step.rows) +
                      BLOCKED_ENTRY_VALUE * blockedEntries(child.step.board);
        children.push_back(child);
    }
}

// Draws the adversary's pick for up to `wanted` of the children from `from` on whose game
// goes on, and returns where the next of them would start.
size_t drawAhead(std::vector<Child>& children, size_t from, size_t wanted,
                 const std::vector<Node>& beam, WorkerThreads& workers) {
    std::vector<size_t> going;
    size_t at = from;
    for (; at < children.size() && going.size() < wanted; ++at)
        if (!children[at].step.over) going.push_back(at);
    runOnWorkers(workers, going.size(), [&](int, size_t i) {
        Child& child = children[going[i]];
        drawNext(beam[child.parent].game, child.step);
    });
    return at;
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
        return static_cast<size_t>(hashOf(key.board) ^ static_cast<uint64_t>(key.kinds));
    }
};

// A game's figures at its end or at the cap, and the last step of its line.
struct Outcome {
    int32_t rows;
    int64_t pieces;
    bool over;
    int32_t line;
};

Outcome outcomeOf(const Node& node) {
    return Outcome{node.game.score, node.game.pieces, node.game.over, node.line};
}

// The better of two finished or capped games: more rows, then still running, then longer.
bool betterEnd(const Outcome& a, const Outcome& b) {
    if (a.rows != b.rows) return a.rows > b.rows;
    if (a.over != b.over) return !a.over;
    return a.pieces > b.pieces;
}

}  // namespace

AttackResult attack(const AttackSettings& settings) {
    AttackResult result{0, 0, false, {}, 0};
    std::vector<LineStep> steps;
    std::vector<Node> beam{Node{startPureGame(settings.start, settings.adversary), -1}};
    // Until a game ends or reaches the cap; a game that cannot even start is its own result.
    Outcome best = outcomeOf(beam[0]);
    bool found = false;
    WorkerThreads workers(settings.threads);
    std::vector<PlacementSearch> searches(workers.threads);

    for (int64_t piece = 0; piece < settings.maxPieces && !beam.empty(); ++piece) {
        std::vector<std::vector<Child>> childrenOf(beam.size());
        runOnWorkers(workers, beam.size(), [&](int worker, size_t i) {
            expand(beam[i], static_cast<int32_t>(i), *settings.weights, searches[worker],
                   childrenOf[i]);
        });

        std::vector<Child> children;
        for (std::vector<Child>& some : childrenOf)
            children.insert(children.end(), some.begin(), some.end());
        result.placementsTried += static_cast<int64_t>(children.size());
        // Best first; equal values keep the order they were found in.
        std::stable_sort(children.begin(), children.end(),
                         [](const Child& a, const Child& b) { return a.value > b.value; });

        std::vector<Node> next;
        std::unordered_set<GameKey, GameKeyHash> kept;
        size_t drawn = 0;  // the children before this have their picks, if they go on
        for (size_t at = 0; at < children.size(); ++at) {
            const Child& child = children[at];
            const Node& parent = beam[child.parent];
            if (child.step.over) {
                // A game that ends here is a result, not a game to go on with.
                Outcome end{parent.game.score + child.step.rows, parent.game.pieces + 1, true, -1};
                if (!found || betterEnd(end, best)) {
                    steps.push_back(LineStep{parent.line, child.placement});
                    end.line = static_cast<int32_t>(steps.size() - 1);
                    best = end;
                    found = true;
                }
                continue;
            }
            size_t room = static_cast<size_t>(settings.beam) - next.size();
            if (room == 0) continue;
            if (at >= drawn) drawn = drawAhead(children, at, room, beam, workers);
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
    for (const Node& node : beam) {
        if (!found || betterEnd(outcomeOf(node), best)) best = outcomeOf(node);
        found = true;
    }

    result.rows = best.rows;
    result.pieces = best.pieces;
    result.over = best.over;
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
