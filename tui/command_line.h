// kostrel-tui's command line: the options it takes, from one table, and the answers that
// need no terminal (the usage, the version, a refusal), so that they work in a pipe too.
#pragma once

#include <string>

#include "chooser/adversary.h"

enum class Launch { Play, Help, Version, BadUsage };

struct CommandLine {
    Launch launch = Launch::Play;  // what the program does
    std::string error;             // why the command line was refused, for BadUsage
    bool adversaryGiven = false;   // --adversary: this run's, over the remembered one
    Adversary adversary = DEFAULT_ADVERSARY;
    bool replayGiven = false;  // --replay: watch a file's code instead of playing
    std::string replayFile;    // that file
};

// Reads the arguments in order; --help and --version end the reading, as does an error.
CommandLine parseCommandLine(int argc, const char* const* argv);
std::string usageText();  // the usage and one line per option of the table
// An argument as a message may show it: control bytes as \xNN, so that it stays one line
// and sends the terminal nothing.
std::string shownArgument(const char* argument);
// Prints what Help, Version or BadUsage say and returns the exit status: 0, or 2 after an
// error (the usage then on stderr) or when the standard output takes nothing.
int answerCommandLine(const CommandLine& line);
