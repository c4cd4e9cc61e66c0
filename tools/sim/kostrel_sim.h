// kostrel-sim: the game without a window system, driven by text. Exit status 0 on
// success, 2 on bad usage or bad input, 1 when the bot's moves and the game disagree, each
// failure with a one-line message on the error stream.
#pragma once

#include <istream>
#include <ostream>

constexpr int SIM_EXIT_OK = 0;
constexpr int SIM_EXIT_BAD_INPUT = 2;
constexpr int SIM_EXIT_BOT_FAULT = 1;

int runKostrelSim(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                  std::ostream& err);

// The subcommands that are more than a board in and a line out, each in a file of its own.
// `play`: one board view's life with a recording host and stand-in windows.
int runPlaySession(std::istream& in, std::ostream& out, std::ostream& err);
// `bot`: the bot plays whole games in this process and the results are summarised, as a
// measure of how hard the piece supply is. argv holds the options after the subcommand.
int runBotGames(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
// `plan`: the game that the end-to-end tests play, as JSON; 1 when no plan with the tests'
// guarantees was found.
int runGamePlan(std::ostream& out, std::ostream& err);
