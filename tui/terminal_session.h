// The terminal as the game borrows it: a UTF-8 locale, curses in cbreak mode without echo,
// xterm focus reporting, and the signals that must give the terminal back as it was.
#pragma once

enum class TerminalStart { Ready, NotATerminal, UnknownTerminal };

// Keeps the environment's locale when its character set is UTF-8, else tries C.UTF-8.
bool chooseUtf8Locale();

// Installs the signal handlers, then takes over the terminal.
TerminalStart openTerminal();
// Gives the terminal back: focus reporting off, curses ended. Safe to call twice.
void closeTerminal();
// Takes the terminal again after closeTerminal or a stop, and repaints everything.
void reopenTerminal();

// A descriptor that becomes readable when a signal has arrived; takeSignal returns its
// number, or 0 when none is pending.
int signalDescriptor();
int takeSignal();

// Ends the process by the signal's default action, so that its parent sees 128 + number.
[[noreturn]] void dieBySignal(int number);

// Stops the process as Ctrl-Z asks; returns after it is continued.
void suspendProcess();

// The terminal's size as the kernel knows it now; curses is told of it.
void followTerminalSize(int& rows, int& columns);
