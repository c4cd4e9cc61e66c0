// Option parsing, the game loop over one record, and the summary line of `kostrel-sim bot`.
#include "tools/sim/bot_run.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bot/bot_player.h"
#include "model/game/game_controller.h"
#include "tools/sim/kostrel_sim.h"

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
bool parseCount(const char* text, int64_t& value) {
    if (text[0] < '1' || text[0] > '9') return false;
    value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
        if (value > COUNT_LIMIT) return false;
    }
    return true;
}

enum BotOption {
    OPTION_GAMES,
    OPTION_MAX_PIECES,
    OPTION_GENERATOR,
    OPTION_DEPTH,
    OPTION_WEIGHTS,
    OPTION_COUNT
};
const char* const OPTION_NAMES[OPTION_COUNT] = {"--games", "--max-pieces", "--generator", "--depth",
                                                "--weights"};

// Applies one option's value; returns an empty string or what was wrong with it.
std::string applyOption(int option, const std::string& value, BotOptions& options) {
    int64_t count = 0;
    switch (option) {
    case OPTION_GAMES:
    case OPTION_MAX_PIECES:
        if (!parseCount(value.c_str(), count))
            return "a whole number 1.." + std::to_string(COUNT_LIMIT);
        (option == OPTION_GAMES ? options.games : options.maxPieces) = count;
        return "";
    case OPTION_GENERATOR:
        if (value != "adversary" && value != "uniform") return "adversary or uniform";
        options.uniform = value == "uniform";
        return "";
    case OPTION_DEPTH:
        if (value != "1" && value != "2" && value != "3") return "1, 2 or 3";
        options.depth = value[0] - '0';
        return "";
    default:  // OPTION_WEIGHTS
        if (value == "el-tetris")
            options.weights = &EL_TETRIS_WEIGHTS;
        else if (value == "dellacherie")
            options.weights = &DELLACHERIE_WEIGHTS;
        else if (value == "lee")
            options.weights = &YIYUAN_LEE_WEIGHTS;
        else
            return "el-tetris, dellacherie or lee";
        return "";
    }
}

// Returns SIM_EXIT_OK when every option was understood.
int parseOptions(int argc, const char* const* argv, BotOptions& options, std::ostream& err) {
    bool seen[OPTION_COUNT] = {};
    for (int i = 0; i < argc; i += 2) {
        std::string name = argv[i];
        int option = 0;
        while (option < OPTION_COUNT && name != OPTION_NAMES[option]) ++option;
        if (option == OPTION_COUNT) return badOption(err, "unknown option \"" + name + "\"");
        if (seen[option]) return badOption(err, "option " + name + " given twice");
        seen[option] = true;
        if (i + 1 >= argc) return badOption(err, "option " + name + " needs a value");
        std::string expected = applyOption(option, argv[i + 1], options);
        if (!expected.empty())
            return badOption(err, "bad value \"" + std::string(argv[i + 1]) + "\" for " + name +
                                      ", expected " + expected);
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

std::string formatFixed(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
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

    int64_t sum = 0;
    for (int32_t r : rows) sum += r;
    out << "games " << options.games << " rows mean "
        << formatFixed(static_cast<double>(sum) / rows.size(), "%.2f") << " median "
        << formatMedian(rows) << " max " << *std::max_element(rows.begin(), rows.end())
        << " pieces/s " << formatFixed(seconds > 0 ? totalPieces / seconds : 0.0, "%.0f") << '\n';
    return SIM_EXIT_OK;
}
