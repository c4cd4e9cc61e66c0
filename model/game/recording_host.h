// A host for views without windows: it records what the game asks of it. kostrel-sim, the
// bot and the tests play through it, and any front end that keeps its windows elsewhere.
#pragma once

#include <cstdint>
#include <string>

#include "model/game/game_adversary.h"
#include "model/game/game_host.h"

struct RecordingHost {
    uint32_t timerId = 1;       // what startFallTimer hands out; 0 refuses the timer
    bool timerRunning = false;  // started and not stopped since
    int64_t starts = 0;         // calls of each of the four operations
    int64_t stops = 0;
    int64_t gameOvers = 0;
    int64_t repaints = 0;
    std::string labelText = "0";  // the score label's text, as last set
    uint32_t previewWord = 0;     // the preview's word, as last set
    GameAdversary adversary;      // where the next kinds come from
    // When set, every call in order: S start, T stop, G game over, R repaint, P preview,
    // and L followed by the label's text. Left null, nothing grows with a long game.
    std::string* callLog = nullptr;
};

// A GameHost whose context is `recording`; valid as long as `recording` lives.
GameHost recordingHostOf(RecordingHost& recording);
