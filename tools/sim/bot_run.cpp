// Option parsing, the game loop over one record, and the summary line of `kostrel-sim bot`.
#include "tools/sim/kostrel_sim.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <iomanip>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "bot/bot_player.h"
#include "model/game/game_controller.h"

namespace {

// Without --max-pieces a game still ends: a bot that never tops out would otherwise run
// for hours, so a game this long is stopped and reported as capped.
constexpr int64_t SAFETY_PIECE_LIMIT = 100000;
constexpr int64_t COUNT_LIMIT = 1000000000;

const char BOT_USAGE[] =
    "usage: kostrel-sim bot [--games N] [--max-pieces M] [--generator adversary|uniform] "
    "[--depth 1|2|3] [--weights el-tetris|dellacherie|lee]";

struct BotOptions {
    int64_t games = 1;
    int64_t maxPieces = SAFETY_PIECE_LIMIT;
    bool uniform = false;
    // Pieces searched. 2 is what a player sees, the falling piece and the preview; 3 also
    // works out the adversary's next pick from its rule, which no screen shows.
    int depth = 2;
    const FeatureWeights* weights = &EL_TETRIS_WEIGHTS;
};

int badOption(std::ostream& err, const std::string& why) {
    err << "kostrel-sim: " << why << "; " << BOT_USAGE << '\n';
    return SIM_EXIT_BAD_INPUT;
}

// A positive decimal count without sign, blanks or leading zeros, at most COUNT_LIMIT.
bool parseCount(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '1' || text[0] > '9') return false;
    std::from_chars_result read = std::from_chars(text.data(), end, value);
    return read.ec == std::errc() && read.ptr == end && value <= COUNT_LIMIT;
}

const std::string COUNT_EXPECTED = "a whole number 1.." + std::to_string(COUNT_LIMIT);

// Each option with what its value must be; `apply` takes a value or refuses it.
const struct {
    const char* name;
    std::string expected;
    bool (*apply)(const std::string& value, BotOptions& options);
} OPTIONS[] = {
    {"--games", COUNT_EXPECTED, [](auto& value, auto& o) { return parseCount(value, o.games); }},
    {"--max-pieces", COUNT_EXPECTED,
     [](auto& value, auto& o) { return parseCount(value, o.maxPieces); }},
    {"--generator", "adversary or uniform",
     [](auto& value, auto& o) {
         o.uniform = value == "uniform";
         return o.uniform || value == "adversary";
     }},
    {"--depth", "1, 2 or 3",
     [](auto& value, auto& o) {
         o.depth = value.size() == 1 ? value[0] - '0' : 0;
         return o.depth >= 1 && o.depth <= 3;
     }},
    {"--weights", "el-tetris, dellacherie or lee",
     [](auto& value, auto& o) {
         o.weights = value == "el-tetris"     ? &EL_TETRIS_WEIGHTS
                     : value == "dellacherie" ? &DELLACHERIE_WEIGHTS
                     : value == "lee"         ? &YIYUAN_LEE_WEIGHTS
                                              : nullptr;
         return o.weights != nullptr;
     }},
};

// Returns SIM_EXIT_OK when every option was understood.
int parseOptions(int argc, const char* const* argv, BotOptions& options, std::ostream& err) {
    bool seen[std::size(OPTIONS)] = {};
    for (int i = 0; i < argc; i += 2) {
        std::string name = argv[i];
        size_t option = 0;
        while (option < std::size(OPTIONS) && name != OPTIONS[option].name) ++option;
        if (option == std::size(OPTIONS)) return badOption(err, "unknown option \"" + name + "\"");
        if (seen[option]) return badOption(err, "option " + name + " given twice");
        seen[option] = true;
        if (i + 1 >= argc) return badOption(err, "option " + name + " needs a value");
        if (!OPTIONS[option].apply(argv[i + 1], options))
            return badOption(err, "bad value \"" + std::string(argv[i + 1]) + "\" for " + name +
                                      ", expected " + OPTIONS[option].expected);
    }
    // The third piece is foreseen by the adversary's own rule; a uniform draw cannot be.
    if (options.uniform && options.depth == 3)
        return badOption(err, "--depth 3 foresees the adversary, not --generator uniform");
    return SIM_EXIT_OK;
}

// "12" or "12.5": the median of whole numbers has at most one half.
std::string formatMedian(std::vector<int32_t> rows) {
    std::sort(rows.begin(), rows.end());
    size_t middle = rows.size() / 2;
    int64_t twice =
        rows.size() % 2 == 1 ? 2 * int64_t{rows[middle]} : int64_t{rows[middle - 1]} + rows[middle];
    return std::to_string(twice / 2) + (twice % 2 != 0 ? ".5" : "");
}

}  // namespace

int runBotGames(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    BotOptions options;
    int status = parseOptions(argc, argv, options, err);
    if (status != SIM_EXIT_OK) return status;

    const BotSettings settings{*options.weights, options.depth >= 2, options.depth == 3};

    // One record for all games, as the one board view of the real program: created once,
    // then a new game each time, the random sequence running on from game to game.
    GameState state;
    initGameState(state);

    std::vector<int32_t> rows;
    int64_t totalPieces = 0;
    auto start = std::chrono::steady_clock::now();
    for (int64_t game = 1; game <= options.games; ++game) {
        BotGameResult result = playBotGame(state, settings, options.maxPieces,
                                           options.uniform ? uniformNextKind : nullptr);
        if (result.drifted) {
            out.flush();
            err << "kostrel-sim: bot fault in game " << game << ": the commands left piece "
                << result.pieces + 1 << " off its planned placement\n";
            return SIM_EXIT_BOT_FAULT;
        }
        rows.push_back(result.rows);
        totalPieces += result.pieces;
        out << "game " << game << " rows " << result.rows << " pieces " << result.pieces
            << (result.capped ? " capped" : "") << std::endl;
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
