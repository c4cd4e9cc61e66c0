// The bot's placements against the game's own commands: the same resting places, no more
// and no fewer. (The paths to them are played through the controller in bot_player_test.)
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "board_builder.h"
#include "bot/reachable_placements.h"
#include "model/rules/piece_moves.h"
#include "model/rules/piece_table.h"

namespace {

using CellSet = std::set<std::pair<int, int>>;

CellSet cellsOf(int kind, int rotation, int x, int y) {
    CellSet cells;
    const char* picture = piecePicture(kind, rotation);
    for (int r = 0; r < PICTURE_SIDE; ++r)
        for (int c = 0; c < PICTURE_SIDE; ++c)
            if (pictureCellFilled(picture, r, c)) cells.emplace(y + r, x + c);
    return cells;
}

// The oracle: a search that moves a real record with tryMove and tryRotate and keeps the
// cells of every state where one more row down is refused.
std::set<CellSet> restingPlacesByTheRules(const GameState& board, int kind, int rotation) {
    std::set<std::tuple<int, int, int>> seen;
    std::vector<GameState> frontier;
    std::set<CellSet> resting;
    GameState start = board;
    start.pieceKind = kind;
    start.pieceRotation = rotation;
    start.pieceX = 4;
    start.pieceY = 0;
    if (!pieceFits(start)) return resting;
    frontier.push_back(start);
    seen.emplace(4, 0, rotation);
    while (!frontier.empty()) {
        GameState current = frontier.back();
        frontier.pop_back();
        GameState below = current;
        if (!tryMove(below, 0, 1))
            resting.insert(cellsOf(kind, current.pieceRotation, current.pieceX, current.pieceY));
        for (int move = 0; move < 4; ++move) {
            GameState next = current;
            bool moved = move == 0   ? tryMove(next, -1, 0)
                         : move == 1 ? tryMove(next, 1, 0)
                         : move == 2 ? tryMove(next, 0, 1)
                                     : tryRotate(next);
            if (moved && seen.emplace(next.pieceX, next.pieceY, next.pieceRotation).second)
                frontier.push_back(next);
        }
    }
    return resting;
}

std::set<CellSet> restingPlacesOfTheBot(const GameState& board, int kind, int rotation) {
    PlacementSearch search;
    findReachablePlacements(maskBoardOf(board), kind, 4, 0, rotation, search);
    std::set<CellSet> resting;
    for (const Placement& p : search.placements)
        EXPECT_TRUE(resting.insert(cellsOf(kind, p.rotation, p.x, p.y)).second)
            << "the same cells listed twice";
    return resting;
}

void expectSameAsTheRules(const GameState& board, const char* name) {
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation)
            EXPECT_EQ(restingPlacesByTheRules(board, kind, rotation),
                      restingPlacesOfTheBot(board, kind, rotation))
                << name << ", kind " << kind << ", arriving in rotation " << rotation;
}

TEST(ReachablePlacements, WhereTheCommandsReachOnEmptyRaggedAndTallBoards) {
    expectSameAsTheRules(freshRecord(), "empty board");

    // A shelf to slide under from the left, a cave sealed from above, a one-wide shaft.
    expectSameAsTheRules(
        boardFromBottom({"......#...", "..####.#..", "........#.", "###.####.#", "###.####.#"}),
        "overhang board");

    // A tall stack beside the entry: turns near the top are refused, no kicks.
    GameState tall = freshRecord();
    for (int row = 2; row < BOARD_ROWS; ++row)
        setRow(tall, row, row % 3 ? "###....###" : "##.....###");
    setRow(tall, 1, "###.....##");
    expectSameAsTheRules(tall, "tall board");

    // Where the piece cannot enter, nothing is reachable.
    GameState blocked = freshRecord();
    setRow(blocked, 0, "....####..");
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        EXPECT_TRUE(restingPlacesOfTheBot(blocked, kind, 0).empty());
}

}  // namespace
