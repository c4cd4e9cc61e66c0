// The replay code, a game as one line of ASCII: kostrel1.ADVERSARY.STATE.KR.EVENTS, where the
// game started and the events it received, in runs. Its writer and its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chooser/adversary.h"
#include "model/game/game_start.h"

// What the game received while it was active, each as the letter a code spells it with.
enum class ReplayEvent : char {
    Tick = 't',   // a fall tick
    Down = 'd',   // Down, one step (a fall step, like a tick)
    Left = 'l',   // Left
    Right = 'r',  // Right
    Up = 'u',     // Up, a turn
};

// The most events one letter and its count spell; more go on in a run of their own, so
// 10,000 ticks are t9999t.
constexpr int32_t REPLAY_RUN_MAX = 9999;

// A game's adversary, start and events. The events are kept as the code spells them, in its
// one spelling: recordReplayEvents keeps them so, and readReplayCode accepts no other.
struct Replay {
    Adversary adversary;  // who chose the pieces
    GameStart start;      // the random state and the pending piece just before newGame
    std::string events;   // EVENTS, the code after its fourth "."
};

// Equal events in a row, applied without expanding them.
struct ReplayRun {
    ReplayEvent event;  // what happened
    int32_t count;      // 1..REPLAY_RUN_MAX times in a row
    size_t position;    // 1-based character of its letter in the code
};

// A walk over a replay's runs, first to last; valid while the replay's events are unchanged.
struct ReplayRunCursor {
    std::string_view events;  // the runs not yet walked
    size_t position;          // 1-based character in the code of the next run's letter
};

// Why a code was refused, and where.
struct ReplayError {
    std::string reason;  // e.g. count "0" instead of 2..9999
    size_t position;     // 1-based character of the code (its length + 1: the code ended early)
};

// Appends `count` events (none for 0) to the replay, merged into its last run while that run
// has room: O(1) for one event, and the events never take more room than their code.
void recordReplayEvents(Replay& replay, ReplayEvent event, int32_t count = 1);

// The replay's code, without a line end. The start must be in range.
std::string writeReplayCode(const Replay& replay);

// Reads a code from any bytes: one line, which one LF or CRLF may end. True with `replay`
// set when the text is a code in its one spelling; otherwise false with the first fault in
// `error`, and `replay` untouched. Linear in the text's length, whatever the counts say.
bool readReplayCode(std::string_view text, Replay& replay, ReplayError& error);

// "bad replay: REASON at character N", as a front end shows it. A replayer that finds events
// after the game's end refuses them with the reason "events after the game's end" at the
// position of the run that holds the first of them.
std::string replayErrorMessage(const ReplayError& error);

// The first run of the replay, then each next one: false once all have been walked.
ReplayRunCursor replayRunCursor(const Replay& replay);
bool nextReplayRun(ReplayRunCursor& cursor, ReplayRun& run);
