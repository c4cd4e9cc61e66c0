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
