// `kostrel-sim play`: one board view's life with a recording host and stand-in windows.
#pragma once

#include <istream>
#include <ostream>

int runPlaySession(std::istream& in, std::ostream& out, std::ostream& err);
