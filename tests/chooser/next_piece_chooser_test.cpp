// The adversary on the worked boards, its tie rules, and the fast search against the
// literal one on many boards.
#include <gtest/gtest.h>

#include <random>

#include "board_builder.h"
#include "chooser/next_piece_chooser.h"
#include "chooser/reference_chooser.h"

namespace {

GameState raggedBoard() {
    return boardFromBottom(
        {".#........", ".##...#...", "###..###..", "####.####.", "#.#######.", "##.#######"});
}

// Both searches must give the expected kind.
void expectChoice(const GameState& state, int32_t fallingKind, int32_t expected) {
    EXPECT_EQ(expected, chooseNextKind(state, fallingKind)) << "falling kind " << fallingKind;
    EXPECT_EQ(expected, chooseNextKindByTrialRecords(state, fallingKind))
        << "literal search, falling kind " << fallingKind;
}

TEST(ChooseNextKind, WorkedBoards) {
    GameState empty = freshRecord();
    expectChoice(empty, 0, 0);
    expectChoice(empty, 2, 3);

    expectChoice(boardFromBottom({"#########."}), 0, 3);

    GameState ragged = raggedBoard();
    expectChoice(ragged, 0, 2);
    expectChoice(ragged, 1, 1);

    // A falling kind that fits nowhere gives kind 0.
    GameState full = freshRecord();
    for (int row = 0; row < BOARD_ROWS; ++row)
        setRow(full, row, row % 2 ? "#.#.#.#.#." : ".#.#.#.#.#");
    for (int32_t kind = 0; kind < 7; ++kind) expectChoice(full, kind, 0);
}

// Random boards of every height, with holes, overhangs and full rows; both searches must
// name the same kind for every falling kind.
TEST(ChooseNextKind, AgreesWithTheLiteralSearchOnRandomBoards) {
    std::mt19937 random(20261206);
    for (int board = 0; board < 3000; ++board) {
        GameState state = randomBoard(random, BOARD_ROWS + 1);
        if (random() % 8 == 0) setRow(state, static_cast<int>(random() % BOARD_ROWS), "##########");
        for (int32_t kind = 0; kind < 7; ++kind)
            ASSERT_EQ(chooseNextKindByTrialRecords(state, kind), chooseNextKind(state, kind))
                << "board " << board << " falling kind " << kind;
    }
}

}  // namespace
