// The terminal edition's state apart from the terminal itself: the game, the pause holds,
// an open message or the name prompt, and what each key does in each of them.
#pragma once

#include <cstdint>
#include <string>

#include "tui/key_decoder.h"
#include "tui/name_editor.h"
#include "tui/pause_holds.h"
#include "tui/tui_game.h"

enum class Overlay { None, Message, NamePrompt };

struct TuiApp {
    TuiGame* game = nullptr;
    std::string bestResultPath;
    PauseHolds holds;
    bool heldApplied = false;  // what the controller was last told
    Overlay overlay = Overlay::None;
    std::string caption;  // of the message or the prompt
    std::string text;     // the message, or the prompt's question
    NameEditor name;
    int32_t promptScore = 0;
    bool gameEnded = false;  // a game was lost and no new one started yet
    bool quit = false;
    bool screenChanged = true;
};

void startTuiApp(TuiApp& app, TuiGame* game, const std::string& bestResultPath);

void handleKey(TuiApp& app, const KeyEvent& event, int64_t nowMs);
void handleFallTicks(TuiApp& app, int64_t nowMs);
void setTooSmall(TuiApp& app, bool tooSmall, int64_t nowMs);
// Ctrl-Z: the game comes back paused by the player's own pause.
void holdForSuspend(TuiApp& app, int64_t nowMs);

// When the next fall step is due, or -1 while none can come (no game, or held).
int64_t nextFallWakeMs(const TuiApp& app);
// True when the screen must be drawn again; clears the request.
bool takeScreenChange(TuiApp& app);
