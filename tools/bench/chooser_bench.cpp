// Benchmarks: the chooser on the empty and the ragged board (the fast search and the
// literal one it replaced), and whole games played through kostrel-sim's play session.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "chooser/next_piece_chooser.h"
#include "chooser/reference_chooser.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"
#include "tools/sim/kostrel_sim.h"

namespace {

GameState raggedBoard() {
    GameState state{};
    const char* rows[] = {".#........", ".##...#...", "###..###..",
                          "####.####.", "#.#######.", "##.#######"};
    for (int row = 14; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            state.cells[row][column] = rows[row - 14][column] == '#' ? FILLED_CELL : 0;
    return state;
}

// One choice of the next kind on a board, by the chooser or by the literal search it
// replaced; kept under the names that earlier runs used.
void timeChoice(benchmark::State& run, int32_t (*choose)(const GameState&, int32_t),
                const GameState& state) {
    for (auto _ : run) benchmark::DoNotOptimize(choose(state, 0));
}
BENCHMARK_CAPTURE(timeChoice, empty, chooseNextKind, GameState{})->Name("BM_ChooseNextKind_Empty");
BENCHMARK_CAPTURE(timeChoice, ragged, chooseNextKind, raggedBoard())
    ->Name("BM_ChooseNextKind_Ragged");
BENCHMARK_CAPTURE(timeChoice, literal_empty, chooseNextKindByTrialRecords, GameState{})
    ->Name("BM_LiteralSearch_Empty");
BENCHMARK_CAPTURE(timeChoice, literal_ragged, chooseNextKindByTrialRecords, raggedBoard())
    ->Name("BM_LiteralSearch_Ragged");

// A scripted player that spreads its pieces over the board: each piece is turned and
// moved to a column of its own, then stepped down until it settles. The script is written
// while playing the game through the controller, so it plays exactly that game again.
struct ScriptedGame {
    std::string commands;
    int pieces = 0;
};

ScriptedGame scriptGame() {
    restoreGameRandomState(1);
    GameState state;
    initGameState(state);
    RecordingHost recording;
    GameHost host = recordingHostOf(recording);
    ScriptedGame game;
    game.commands = "new";
    newGame(state, host);
    while (state.timerId != 0) {
        int turns = game.pieces % 4;
        int target = (game.pieces * 7) % BOARD_COLUMNS;
        for (int turn = 0; turn < turns; ++turn) {
            rotatePiece(state, host);
            game.commands += " rotate";
        }
        while (state.pieceX != target) {
            int before = state.pieceX;
            bool left = target < state.pieceX;
            left ? moveLeft(state, host) : moveRight(state, host);
            game.commands += left ? " left" : " right";
            if (state.pieceX == before) break;  // blocked
        }
        for (;;) {
            int before = state.pieceY;
            fallStep(state, host);
            game.commands += " down";
            if (state.pieceY <= before) break;  // settled: the next piece is in play
        }
        ++game.pieces;
    }
    return game;
}

void BM_SimulatedGame(benchmark::State& run) {
    ScriptedGame game = scriptGame();
    const char* arguments[] = {"kostrel-sim", "play"};
    for (auto _ : run) {
        restoreGameRandomState(1);
        std::istringstream in(game.commands);
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(runKostrelSim(2, arguments, in, out, err));
    }
    run.counters["pieces"] = game.pieces;
    run.counters["pieces/s"] =
        benchmark::Counter(game.pieces, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SimulatedGame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
