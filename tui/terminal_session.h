// The terminal as the game borrows it: a UTF-8 locale, curses with its keypad, xterm focus
// reports and a short Esc wait, and the signals that must give the terminal back as it was.
#pragma once

#include "tui/tui_app.h"

// Takes the environment's locale when it is UTF-8, else C.UTF-8, holds back the signals
// that the loop handles and takes over the terminal; false, having said why, when it cannot.
bool openTerminal();
void closeTerminal();  // focus reporting off, curses ended; safe to call twice
// Sleeps until a key, a signal or timeoutMs (-1: no limit), then acts on the signals that
// came: a signal that ends the process ends it, the terminal given back, and so does the
// terminal going away; Ctrl-Z stops it. The held-back signals come in only during this
// sleep, so none is missed between two. True when the process was stopped by Ctrl-Z.
bool waitForTerminal(int timeoutMs);
// The next key that has come, without waiting. A control sequence that the terminal's
// description does not name is dropped whole, so that its letters never act as keys.
bool readKey(KeyPress& key);
