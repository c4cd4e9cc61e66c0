// A replay code kept in a file: the last game, a best result's game, or one given with
// --replay. It is read whole and replayed to its end before anything is shown.
#pragma once

#include <cstdint>
#include <string>

#include "model/session/replay_code.h"

enum class ReplayFileRead {
    Found,
    Missing,     // no such file
    Unreadable,  // there, but not a regular file that can be read
    TooLarge,    // more than any game of the game's own would spell
    Bad,         // not a code, or events after the game's end
};

struct ReplayFile {
    Replay replay;
    int32_t score = 0;  // the replayed game's, at its end
    std::string why;    // why it is Bad: the reason and the character
};

ReplayFileRead readReplayFile(const std::string& path, ReplayFile& file);
