// Subcommand dispatch and the two board subcommands, eval and choose.
#include "tools/sim/kostrel_sim.h"

#include <cstring>
#include <string>

#include "chooser/board_evaluation.h"
#include "chooser/next_piece_chooser.h"
#include "tools/sim/board_text.h"

namespace {

const char USAGE[] =
    "usage: kostrel-sim eval | choose K | play | bot [options] | plan   (K = falling kind "
    "0..6; input on stdin)";

int badUsage(std::ostream& err, const std::string& why) {
    err << "kostrel-sim: " << why << "; " << USAGE << '\n';
    return SIM_EXIT_BAD_INPUT;
}

bool readBoard(std::istream& in, std::ostream& err, GameState& state) {
    state = GameState{};
    std::string error;
    if (readBoardText(in, state, error)) return true;
    err << "kostrel-sim: bad board: " << error << '\n';
    return false;
}

int runEval(std::istream& in, std::ostream& out, std::ostream& err) {
    GameState state;
    if (!readBoard(in, err, state)) return SIM_EXIT_BAD_INPUT;
    out << evaluateBoard(state) << '\n';
    return SIM_EXIT_OK;
}

int runChoose(const char* kindText, std::istream& in, std::ostream& out, std::ostream& err) {
    // Exactly one digit 0..6: anything looser would hide a caller's mistake.
    if (std::strlen(kindText) != 1 || kindText[0] < '0' || kindText[0] > '6')
        return badUsage(err, std::string("bad kind \"") + kindText + "\", expected 0..6");
    GameState state;
    if (!readBoard(in, err, state)) return SIM_EXIT_BAD_INPUT;
    out << chooseNextKind(state, kindText[0] - '0') << '\n';
    return SIM_EXIT_OK;
}

}  // namespace

int runKostrelSim(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    if (argc < 2) return badUsage(err, "no subcommand");
    std::string subcommand = argv[1];
    if (subcommand == "bot") return runBotGames(argc - 2, argv + 2, out, err);
    int expected = subcommand == "choose" ? 3 : 2;
    if (subcommand != "eval" && subcommand != "choose" && subcommand != "play" &&
        subcommand != "plan")
        return badUsage(err, "unknown subcommand \"" + subcommand + "\"");
    if (argc != expected)
        return badUsage(err, argc < expected ? "missing argument" : "too many arguments");
    if (subcommand == "eval") return runEval(in, out, err);
    if (subcommand == "choose") return runChoose(argv[2], in, out, err);
    if (subcommand == "plan") return runGamePlan(out, err);
    return runPlaySession(in, out, err);
}
