// Option parsing, the game loop over one record, and the summary line of `kostrel-sim bot`.
#include "tools/sim/kostrel_sim.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iomanip>
#include <numeric>
#include <string>
#include <vector>

#include "bot/bot_player.h"
#include "model/game/game_controller.h"
#include "tools/sim/sim_options.h"

namespace {

// Without --max-pieces a game still ends: a bot that never tops out would otherwise run
// for hours, so a game this long is stopped and reported as capped.
constexpr int64_t SAFETY_PIECE_LIMIT = 100000;

struct BotOptions {
    int64_t games = 1;
    int64_t maxPieces = SAFETY_PIECE_LIMIT;
    Adversary adversary = DEFAULT_ADVERSARY;
    // Pieces searched. 2 is what a player sees, the falling piece and the preview; 3 also
    // works out the adversary's next pick from its rule, which no screen shows.
    int depth = 2;
    const FeatureWeights* weights = &EVOLVED_WEIGHTS;
    bool replays = false;  // each game's code after its line
};

const OptionRule<BotOptions> BOT_OPTIONS[] = {
    {"--games", COUNT_EXPECTED, [](auto value, auto& o) { return parseCount(value, o.games); }},
    {"--max-pieces", COUNT_EXPECTED,
     [](auto value, auto& o) { return parseCount(value, o.maxPieces); }},
    adversaryOption<BotOptions>(),
    {"--depth", "1, 2 or 3",
     [](auto value, auto& o) {
         o.depth = value.size() == 1 ? value[0] - '0' : 0;
         return o.depth >= 1 && o.depth <= 3;
     }},
    {"--weights", weightChoices(),
     [](auto value, auto& o) {
         const NamedWeights* set = findWeights(value);
         if (set != nullptr) o.weights = &set->weights;
         return set != nullptr;
     }},
    {"--replays", "", [](auto, auto& o) { return o.replays = true; }, true},
};

// "12" or "12.5": the median of whole numbers has at most one half.
std::string formatMedian(std::vector<int32_t> rows) {
    std::sort(rows.begin(), rows.end());
    size_t middle = rows.size() / 2;
    int64_t twice =
        rows.size() % 2 == 1 ? 2 * int64_t{rows[middle]} : int64_t{rows[middle - 1]} + rows[middle];
    return std::to_string(twice / 2) + (twice % 2 != 0 ? ".5" : "");
}

}  // namespace

int runBotGames(const SimCall& call) {
    BotOptions options;
    int status = readOptions(call, BOT_OPTIONS, options);
    if (status != SIM_EXIT_OK) return status;
    std::ostream& out = call.out;

    const BotSettings settings{*options.weights, options.depth >= 2, options.depth == 3};

    // One record for all games, as the one board view of the real program: created once,
    // then a new game each time, the random sequence running on from game to game.
    GameState state;
    initGameState(state);

    std::vector<int32_t> rows;
    int64_t totalPieces = 0;
    auto start = std::chrono::steady_clock::now();
    for (int64_t game = 1; game <= options.games; ++game) {
        Replay recording;
        BotGameResult result = playBotGame(state, settings, options.maxPieces, options.adversary,
                                           options.replays ? &recording : nullptr);
        if (result.drifted) {
            out.flush();
            call.err << "kostrel-sim: bot fault in game " << game << ": the commands left piece "
                     << result.pieces + 1 << " off its planned placement\n";
            return SIM_EXIT_BOT_FAULT;
        }
        rows.push_back(result.rows);
        totalPieces += result.pieces;
        out << "game " << game << " rows " << result.rows << " pieces " << result.pieces
            << (result.capped ? " capped" : "") << std::endl;
        if (options.replays) out << writeReplayCode(recording) << std::endl;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    double mean = std::accumulate(rows.begin(), rows.end(), int64_t{0}) / double(rows.size());
    out << "games " << options.games << " rows mean " << std::fixed << std::setprecision(2) << mean
        << " median " << formatMedian(rows) << " max "
        << *std::max_element(rows.begin(), rows.end()) << " pieces/s " << std::setprecision(0)
        << (seconds > 0 ? totalPieces / seconds : 0.0) << '\n';
    return SIM_EXIT_OK;
}
