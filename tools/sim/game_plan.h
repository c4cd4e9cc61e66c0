// `kostrel-sim plan`: the game that the end-to-end tests play, as JSON.
#pragma once

#include <ostream>

// Exit status as for kostrel-sim; 1 when no plan with the tests' guarantees was found.
int runGamePlan(std::ostream& out, std::ostream& err);
