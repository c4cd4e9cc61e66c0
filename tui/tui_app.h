// The terminal edition's state apart from the terminal itself: the game session, an open
// message or the name prompt, and what each key does in each of them.
#pragma once

#include <cstdint>
#include <cwchar>
#include <string>

#include "model/session/game_session.h"

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

enum class Overlay { None, Message, NamePrompt };

// A plain record that must stay where startTuiApp put it: its session points at it.
struct TuiApp {
    GameSession session;
    std::string bestResultPath;
    int64_t wakeMs = -1;  // the session's alarm; -1 while none is set
    Overlay overlay = Overlay::None;
    std::string caption;  // of the message or the prompt
    std::string text;     // the message, or the prompt's question
    std::wstring name;    // the prompt's name, of allowed characters only
    size_t cursor = 0;    // in `name`
    int32_t promptScore = 0;
    bool quit = false;
    bool screenChanged = true;  // to be drawn again
};

void startTuiApp(TuiApp& app, const std::string& bestResultPath);
void handleKey(TuiApp& app, KeyPress key, int64_t nowMs);
