// Subcommand dispatch, --help and --version, and the small subcommands: eval and choose on
// a board, and the lists of adversaries and weight sets.
#include "tools/sim/kostrel_sim.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "chooser/adversary.h"
#include "chooser/board_evaluation.h"
#include "chooser/board_features.h"
#include "chooser/next_piece_chooser.h"
#include "tools/sim/board_text.h"
#include "tools/sim/sim_options.h"

namespace {

const char PROGRAM_USAGE[] =
    "kostrel-sim eval | choose K | play | plan | bot | attack | replay | adversaries | "
    "weights [options] (kostrel-sim --help lists them)";

bool readBoard(const SimCall& call, GameState& state) {
    state = GameState{};
    std::string error;
    if (readBoardText(call.in, state, error)) return true;
    call.err << "kostrel-sim: bad board: " << error << '\n';
    return false;
}

int runEval(const SimCall& call) {
    GameState state;
    if (!readBoard(call, state)) return SIM_EXIT_BAD_INPUT;
    call.out << evaluateBoard(state) << '\n';
    return SIM_EXIT_OK;
}

int runChoose(const SimCall& call) {
    // Exactly one digit 0..6: anything looser would hide a caller's mistake.
    std::string_view kind = call.argv[0];
    if (kind.size() != 1 || kind[0] < '0' || kind[0] > '6')
        return badUsage(call.err, "bad kind \"" + printable(kind) + "\", expected 0..6",
                        call.usage);
    GameState state;
    if (!readBoard(call, state)) return SIM_EXIT_BAD_INPUT;
    call.out << chooseNextKind(state, kind[0] - '0') << '\n';
    return SIM_EXIT_OK;
}

int listAdversaries(const SimCall& call) {
    for (const AdversaryInfo& info : ADVERSARIES) call.out << info.id << '\t' << info.name << '\n';
    return SIM_EXIT_OK;
}

int listWeights(const SimCall& call) {
    for (const NamedWeights& set : WEIGHT_SETS) call.out << set.name << '\t' << set.what << '\n';
    return SIM_EXIT_OK;
}

constexpr int TAKES_OPTIONS = -1;

const struct Subcommand {
    const char* name;
    int arguments;      // how many it takes, or TAKES_OPTIONS
    const char* usage;  // one line
    const char* help;   // what --help prints after the usage line
    int (*run)(const SimCall& call);
} SUBCOMMANDS[] = {
    {"eval", 0, "kostrel-sim eval",
     "Reads a board on stdin and prints its evaluation (higher is worse for the player).\n",
     runEval},
    {"choose", 1, "kostrel-sim choose K",
     "Reads a board on stdin and prints the kind that klasicky hands out after falling kind K "
     "(0..6).\n",
     runChoose},
    {"play", TAKES_OPTIONS, "kostrel-sim play [--adversary ID]",
     "Reads commands on stdin to the end and plays them as the board view would: new, left,\n"
     "right, rotate, down, tick, pause, resume, score (prints score N), show (prints the\n"
     "grid, the piece, the next piece, score, running, paused, the score label's text, the\n"
     "preview word and the host's call counts).\n",
     runPlaySession},
    {"plan", TAKES_OPTIONS, "kostrel-sim plan [--adversary ID]",
     "Prints as JSON the game that the end-to-end tests play: the bot places each piece\n"
     "until a row is cleared, then each piece drops where it appears. Exit status 1 when no\n"
     "such plan is found.\n",
     runGamePlan},
    {"bot", TAKES_OPTIONS,
     "kostrel-sim bot [--games N] [--max-pieces M] [--adversary ID] [--depth 1|2|3] "
     "[--weights NAME] [--replays]",
     "Lets the bot play whole games through the controller and prints their rows. --depth 1\n"
     "places the falling piece only, 2 (the default) also the previewed one, 3 also the\n"
     "piece after it, whose kind the adversary's rule gives away. Games stop at M pieces\n"
     "(100000 by default), marked capped. --replays prints each game's replay code after\n"
     "its line.\n",
     runBotGames},
    {"attack", TAKES_OPTIONS,
     "kostrel-sim attack --adversary ID --beam W [--max-pieces M] [--weights NAME] "
     "[--start STATE.KR] [--replays]",
     "Searches for the game with the most rows against the adversary: a beam search that\n"
     "keeps the W best games, places pieces only where key presses bring them, and foresees\n"
     "every piece from the adversary's rule and the random source. Games stop at M pieces\n"
     "(1000 by default). STATE.KR is the random state before the game as 8 lowercase hex\n"
     "digits, then the pending piece's kind and rotation; 0029e2c0.00, where a fresh program\n"
     "starts, by default. --replays prints the game's replay code after its line.\n",
     runAttack},
    {"replay", 0, "kostrel-sim replay",
     "Reads a replay code on stdin (one line, which one LF or CRLF may end), replays it and\n"
     "prints the final grid without the falling piece, then adversary ID, rows N, pieces N\n"
     "(pieces fixed) and over 1 or over 0. A bad code exits 2 with its reason and character.\n",
     runReplay},
    {"adversaries", 0, "kostrel-sim adversaries",
     "Lists the adversaries, one a line: the id that --adversary takes, a tab, the name.\n",
     listAdversaries},
    {"weights", 0, "kostrel-sim weights",
     "Lists the bot's weight sets, one a line: the name that --weights takes, a tab, what it "
     "is.\n",
     listWeights},
};

void printHelp(std::ostream& out) {
    out << "usage: kostrel-sim SUBCOMMAND [ARGUMENTS]\n"
           "       kostrel-sim --help | --version\n"
           "The game without windows, driven by text. Each subcommand also takes --help.\n\n";
    for (const Subcommand& subcommand : SUBCOMMANDS) out << "  " << subcommand.usage << '\n';
    out << "\nA board is 20 lines of 10 characters, '.' empty and '#' filled, row 0 first.\n"
           "Adversaries: "
        << adversaryChoices() << " (klasicky by default). Weight sets: " << weightChoices()
        << " (evolved by default).\n"
           "Exit status: 0 done, 1 the bot's moves and the game disagreed, 2 bad usage or "
           "input.\n";
}

}  // namespace

int runKostrelSim(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    if (argc < 2) return badUsage(err, "no subcommand", PROGRAM_USAGE);
    std::string_view name = argv[1];
    if (name == "--help") {
        printHelp(out);
        return SIM_EXIT_OK;
    }
    if (name == "--version") {
        out << "kostrel-sim " << KOSTREL_VERSION << '\n';
        return SIM_EXIT_OK;
    }
    const Subcommand* subcommand = std::find_if(std::begin(SUBCOMMANDS), std::end(SUBCOMMANDS),
                                                [&](auto& s) { return name == s.name; });
    if (subcommand == std::end(SUBCOMMANDS))
        return badUsage(err,
                        std::string(name.substr(0, 1) == "-" ? "unknown option"
                                                             : "unknown "
                                                               "subcommand") +
                            " \"" + printable(name) + "\"",
                        PROGRAM_USAGE);
    SimCall call{argc - 2, argv + 2, in, out, err, subcommand->usage};
    if (std::any_of(call.argv, call.argv + call.argc,
                    [](const char* a) { return std::string_view(a) == "--help"; })) {
        out << "usage: " << subcommand->usage << '\n' << subcommand->help;
        return SIM_EXIT_OK;
    }
    if (subcommand->arguments != TAKES_OPTIONS && call.argc != subcommand->arguments)
        return badUsage(
            err, call.argc < subcommand->arguments ? "missing argument" : "too many arguments",
            call.usage);
    return subcommand->run(call);
}
