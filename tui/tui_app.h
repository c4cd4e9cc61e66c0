// The terminal edition's state apart from the terminal itself: the game session, its files,
// an open message, the name prompt or the list of adversaries, the why-this-piece panel, and
// what each key does in each of them and while a replay is watched.
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

enum class Overlay { None, Message, NamePrompt, AdversaryList };

// Where the files are: the best results and the games in the data folder, the chosen
// adversary in the state folder; "" where the user has no home.
struct TuiFolders {
    std::string data;   // $XDG_DATA_HOME/kostrel
    std::string state;  // $XDG_STATE_HOME/kostrel
};

// A plain record that must stay where startTuiApp put it: its session points at it.
struct TuiApp {
    GameSession session;
    TuiFolders folders;
    int64_t wakeMs = -1;  // the session's alarm; -1 while none is set
    Overlay overlay = Overlay::None;
    std::string caption;  // of the message, the prompt or the list
    std::string text;     // the message, the prompt's question or the list's
    std::wstring name;    // the prompt's name, of allowed characters only
    size_t cursor = 0;    // in `name`, or the adversary the list points at
    int32_t promptScore = 0;
    Adversary promptAdversary = DEFAULT_ADVERSARY;  // whose record the prompt's score is
    std::string promptCode;                         // the game that scored it
    bool panelShown = false;                        // why the piece in the preview
    bool replayOnly = false;  // started with --replay: stopping the watch quits
    bool quit = false;
    bool screenChanged = true;  // to be drawn again
};

void startTuiApp(TuiApp& app, const TuiFolders& folders);
// The adversary of the first game: the one given on the command line, else the one
// remembered in the state folder, else klasicky; a remembered one that this version does not
// know (a later version's, or a damaged file) gives klasicky and a notice.
void chooseStartingAdversary(TuiApp& app, const Adversary* given);
// Watches a replay that readReplayFile has accepted, with nothing to go back to.
bool watchOnly(TuiApp& app, const Replay& replay, int64_t nowMs);
void handleKey(TuiApp& app, KeyPress key, int64_t nowMs);
