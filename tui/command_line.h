// kostrel-tui's command line: the options it takes, from one table, and the answers that
// need no terminal (the usage, the version, a refusal), so that they work in a pipe too.
#pragma once

#include <string>

enum class Launch { Play, Help, Version, BadUsage };

struct CommandLine {
    Launch launch = Launch::Play;  // what the program does
    std::string error;             // why the command line was refused, for BadUsage
};

// Reads the arguments in order; --help and --version end the reading, as does an error.
CommandLine parseCommandLine(int argc, const char* const* argv);
std::string usageText();  // the usage and one line per option of the table
// Prints what Help, Version or BadUsage say and returns the exit status: 0, or 2 after an
// error (the usage then on stderr) or when the standard output takes nothing.
int answerCommandLine(const CommandLine& line);
