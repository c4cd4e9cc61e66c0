// The terminal edition's state apart from the terminal itself: the game, the pause holds,
// an open message or the name prompt, and what each key does in each of them.
#pragma once

#include <cstdint>
#include <cwchar>
#include <string>

#include "tui/tui_game.h"

// The key codes that the terminal defines for xterm's focus reports: far past curses' own
// and past those it gives a terminal's extended keys, counted up from KEY_MAX + 1 (in rxvt
// 01001 is Shift+Down).
constexpr int KEY_FOCUS_IN = 0xF001;
constexpr int KEY_FOCUS_OUT = 0xF002;

// One key as wget_wch reads it: a curses key code, or else a character.
struct KeyPress {
    bool isKeyCode;
    wint_t code;
};

// The things that hold the game still, besides an open message or prompt. The game runs
// only while none holds, and each is released only by its own cause: `p` by `p`, the focus
// pause by the focus coming back, the size by a large enough terminal.
struct PauseHolds {
    bool player = false;    // toggled by `p`; also set by a suspend (Ctrl-Z)
    bool focus = false;     // the terminal reported that it lost the focus
    bool tooSmall = false;  // the terminal is smaller than the screen needs
};

enum class Overlay { None, Message, NamePrompt };

struct TuiApp {
    TuiGame game;
    std::string bestResultPath;
    PauseHolds holds;
    bool heldApplied = false;  // what the controller was last told
    Overlay overlay = Overlay::None;
    std::string caption;  // of the message or the prompt
    std::string text;     // the message, or the prompt's question
    std::wstring name;    // the prompt's name, of allowed characters only
    size_t cursor = 0;    // in `name`
    int32_t promptScore = 0;
    bool gameEnded = false;  // a game was lost and no new one started yet
    bool quit = false;
    bool screenChanged = true;  // to be drawn again
};

inline bool gameHeld(const TuiApp& app) {
    const PauseHolds& holds = app.holds;
    return holds.player || holds.focus || holds.tooSmall || app.overlay != Overlay::None;
}

void handleKey(TuiApp& app, KeyPress key, int64_t nowMs);
void handleFallTicks(TuiApp& app, int64_t nowMs);
// Tells the controller when the holds, changed by the caller or a key, hold it or not.
void applyHolds(TuiApp& app, int64_t nowMs);
// When the next fall step is due, or -1 while none can come (no game, or held).
int64_t nextFallWakeMs(const TuiApp& app);
