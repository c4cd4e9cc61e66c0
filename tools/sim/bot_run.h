// `kostrel-sim bot`: the bot plays whole games in this process and the results are
// summarised, as a measure of how hard the piece supply is.
#pragma once

#include <ostream>

// argv holds the options after the subcommand. Exit status as for kostrel-sim.
int runBotGames(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
