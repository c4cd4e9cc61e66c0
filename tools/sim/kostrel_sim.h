// kostrel-sim: the game without a window system, driven by text. Exit status 0 on
// success, 2 on bad usage or bad input, 1 when the bot's moves and the game disagree, each
// failure with a one-line message on the error stream.
#pragma once

#include <istream>
#include <ostream>
#include <string_view>

constexpr int SIM_EXIT_OK = 0;
constexpr int SIM_EXIT_BAD_INPUT = 2;
constexpr int SIM_EXIT_BOT_FAULT = 1;

// The whole program: argv[0] is the program's name, argv[1] the subcommand.
int runKostrelSim(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                  std::ostream& err);

// What a subcommand is given: the arguments after its name, the streams, and its usage
// line for the messages that refuse bad usage.
struct SimCall {
    int argc;
    const char* const* argv;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    std::string_view usage;
};

// The subcommands that are more than a board in and a line out, each in a file of its own.
// `play`: one board view's life with a recording host and stand-in windows.
int runPlaySession(const SimCall& call);
// `bot`: the bot plays whole games in this process and the results are summarised, as a
// measure of how hard the piece supply is.
int runBotGames(const SimCall& call);
// `plan`: the game that the end-to-end tests play, as JSON; 1 when no plan with the tests'
// guarantees was found.
int runGamePlan(const SimCall& call);
// `replay`: a replay code on stdin replayed, and its final board and numbers printed.
int runReplay(const SimCall& call);
// `attack`: the strongest player there is, searching the real game with the adversary's
// rule and the random source known, to measure an adversary.
int runAttack(const SimCall& call);
