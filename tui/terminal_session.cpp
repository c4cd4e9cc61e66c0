// The signals that end or stop the game wait for the loop, where curses may be called:
// they are held back except while it sleeps in ppoll(2). Crash signals cannot wait: their
// handler gives the terminal back with async-signal-safe calls alone.
#include "tui/terminal_session.h"

#include <curses.h>
#include <langinfo.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tui/tui_texts.h"

namespace {

constexpr char FOCUS_REPORTS_ON[] = "\033[?1004h";
constexpr char FOCUS_REPORTS_OFF[] = "\033[?1004l";
// Terminals send a sequence in one write; a lone Esc byte is the Esc key after this wait.
constexpr int LONE_ESCAPE_WAIT_MS = 50;
// Curses handles SIGWINCH itself; the loop only holds it back with these.
const int LOOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT};
const int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

volatile sig_atomic_t caughtSignals[32] = {};
sigset_t sleepingMask;  // the one the program started with
volatile sig_atomic_t terminalTaken = 0;
struct termios originalModes;
// What a crash handler writes: focus reports off, keypad and attributes reset, cursor
// shown, the alternate screen left.
std::string crashText;

bool sayWhy(const char* text) {
    const char* type = std::getenv("TERM");
    std::fprintf(stderr, text, type != nullptr ? type : "");
    return false;
}

// Straight to the terminal, after what curses has sent.
void writeText(const char* text) {
    if (write(STDOUT_FILENO, text, std::strlen(text)) < 0) {
        // A terminal that takes no output has nothing to give back.
    }
}

void noteSignal(int number) { caughtSignals[number] = 1; }

void restoreAfterCrash(int number) {
    if (terminalTaken) {
        writeText(crashText.c_str());
        tcsetattr(STDIN_FILENO, TCSANOW, &originalModes);
    }
    signal(number, SIG_DFL);
    raise(number);
}

// Also when still taken: after a stop, the shell may have reset the modes and the screen.
void takeTerminal() {
    terminalTaken = true;
    reset_prog_mode();
    clearok(curscr, TRUE);
    refresh();  // the alternate screen first, then focus reporting within it
    writeText(FOCUS_REPORTS_ON);
    raise(SIGWINCH);  // curses reads the size again on its own signal: it may have changed
}

// A held-back signal's default action, the terminal given back first: the process ends,
// or stops and returns here when continued.
void actOnSignal(int number) {
    closeTerminal();
    signal(number, SIG_DFL);
    raise(number);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    sigprocmask(SIG_BLOCK, &only, nullptr);
    signal(number, noteSignal);
}

}  // namespace

bool openTerminal() {
    auto utf8 = [](const char* locale) {
        return std::setlocale(LC_ALL, locale) != nullptr &&
               std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    };
    if (!utf8("") && !utf8("C.UTF-8")) return sayWhy(TEXT_NO_UTF8);
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return sayWhy(TEXT_NOT_A_TERMINAL);
    tcgetattr(STDIN_FILENO, &originalModes);
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGWINCH);
    for (int number : LOOP_SIGNALS) sigaddset(&held, number);
    sigprocmask(SIG_BLOCK, &held, &sleepingMask);
    // Set before curses starts, which then leaves these signals to us.
    for (int number : LOOP_SIGNALS) signal(number, noteSignal);
    for (int number : CRASH_SIGNALS) signal(number, restoreAfterCrash);
    const char* type = std::getenv("TERM");
    SCREEN* screen = type != nullptr && type[0] != '\0' ? newterm(type, stdout, stdin) : nullptr;
    if (screen == nullptr) return sayWhy(TEXT_UNKNOWN_TERMINAL);
    set_term(screen);
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(LONE_ESCAPE_WAIT_MS);
    define_key("\033[I", KEY_FOCUS_IN);
    define_key("\033[O", KEY_FOCUS_OUT);
    typeahead(-1);  // no update cut short for keys: the loop reads them all before it draws
    crashText = FOCUS_REPORTS_OFF;
    for (const char* name : {"rmkx", "sgr0", "cnorm", "rmcup"}) {
        const char* value = tigetstr(name);
        if (value != nullptr && value != reinterpret_cast<char*>(-1)) crashText += value;
    }
    takeTerminal();
    return true;
}

void closeTerminal() {
    if (!terminalTaken) return;
    writeText(FOCUS_REPORTS_OFF);
    curs_set(1);
    endwin();
    terminalTaken = false;
}

bool waitForTerminal(int timeoutMs) {
    struct pollfd input = {STDIN_FILENO, POLLIN, 0};
    struct timespec timeout = {timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
    int ready = ppoll(&input, 1, timeoutMs < 0 ? nullptr : &timeout, &sleepingMask);
    if (ready > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) noteSignal(SIGHUP);
    bool suspended = false;
    for (int number : LOOP_SIGNALS) {
        if (caughtSignals[number] == 0) continue;
        caughtSignals[number] = 0;
        if (number != SIGCONT) actOnSignal(number);
        if (number != SIGCONT && number != SIGTSTP) _exit(128 + number);  // not ended by it
        suspended = suspended || number == SIGTSTP;
        takeTerminal();
    }
    return suspended;
}

bool readKey(KeyPress& key) {
    for (;;) {
        int status = wget_wch(stdscr, &key.code);
        key.isKeyCode = status == KEY_CODE_YES;
        if (status != OK || key.code != 0x1B) return status != ERR;
        // A lone Esc came after curses' Esc wait, so nothing follows it at once; ESC [ or
        // ESC O at once starts a sequence that curses did not match, read here to its final
        // byte and dropped, and the key after it read.
        wint_t next = 0;
        status = wget_wch(stdscr, &next);
        if (status == OK && (next == '[' || next == 'O')) {
            bool singleShift = next == 'O';
            while (wget_wch(stdscr, &next) == OK && !singleShift && (next < 0x40 || next > 0x7E)) {
            }
            continue;
        }
        if (status == KEY_CODE_YES) ungetch(static_cast<int>(next));
        if (status == OK) unget_wch(static_cast<wchar_t>(next));
        return true;
    }
}
