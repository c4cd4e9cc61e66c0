// Signals that end the program or stop it are turned into bytes on a pipe and handled by
// the main loop, where curses may be called. Crash signals cannot wait for it: their
// handler restores the terminal with async-signal-safe calls alone, from data prepared at
// the start.
#include "tui/terminal_session.h"

#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* FOCUS_REPORTS_ON = "\033[?1004h";
constexpr const char* FOCUS_REPORTS_OFF = "\033[?1004l";

int signalPipe[2] = {-1, -1};
SCREEN* terminalScreen = nullptr;
bool terminalTaken = false;
struct termios originalModes;
bool originalModesKnown = false;
// What a crash handler writes: focus reports off, attributes reset, cursor shown, the
// alternate screen left.
char emergencyText[256] = {};
size_t emergencyLength = 0;

const int FORWARDED_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH};
const int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void writeText(const char* text) {
    size_t length = std::strlen(text);
    while (length > 0) {
        ssize_t written = write(STDOUT_FILENO, text, length);
        if (written <= 0) return;
        text += written;
        length -= static_cast<size_t>(written);
    }
}

void forwardSignal(int number) {
    int kept = errno;
    unsigned char byte = static_cast<unsigned char>(number);
    if (write(signalPipe[1], &byte, 1) < 0) {
        // A full pipe already holds a wake-up for the main loop.
    }
    errno = kept;
}

void restoreAfterCrash(int number) {
    if (terminalTaken) {
        if (write(STDOUT_FILENO, emergencyText, emergencyLength) < 0) {
            // Nothing more can be done from a crash.
        }
        if (originalModesKnown) tcsetattr(STDIN_FILENO, TCSANOW, &originalModes);
    }
    signal(number, SIG_DFL);
    raise(number);
}

void appendCapability(const char* name) {
    char* value = tigetstr(const_cast<char*>(name));
    if (value == nullptr || value == reinterpret_cast<char*>(-1)) return;
    size_t length = std::strlen(value);
    if (emergencyLength + length >= sizeof emergencyText) return;
    std::memcpy(emergencyText + emergencyLength, value, length);
    emergencyLength += length;
}

void prepareEmergencyText() {
    emergencyLength = 0;
    std::memcpy(emergencyText, FOCUS_REPORTS_OFF, std::strlen(FOCUS_REPORTS_OFF));
    emergencyLength = std::strlen(FOCUS_REPORTS_OFF);
    appendCapability("sgr0");
    appendCapability("cnorm");
    appendCapability("rmcup");
}

void installHandler(int number, void (*handler)(int)) {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

bool installHandlers() {
    if (signalPipe[0] < 0) {
        if (pipe(signalPipe) != 0) return false;
        for (int descriptor : signalPipe) {
            fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
            fcntl(descriptor, F_SETFD, FD_CLOEXEC);
        }
    }
    // Installed before curses starts, which then leaves these signals to us.
    for (int number : FORWARDED_SIGNALS) installHandler(number, forwardSignal);
    for (int number : CRASH_SIGNALS) installHandler(number, restoreAfterCrash);
    return true;
}

}  // namespace

bool chooseUtf8Locale() {
    auto isUtf8 = []() {
        const char* set = nl_langinfo(CODESET);
        return set != nullptr && (std::strcmp(set, "UTF-8") == 0 || std::strcmp(set, "utf8") == 0);
    };
    if (std::setlocale(LC_ALL, "") != nullptr && isUtf8()) return true;
    return std::setlocale(LC_ALL, "C.UTF-8") != nullptr && isUtf8();
}

TerminalStart openTerminal() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return TerminalStart::NotATerminal;
    const char* type = std::getenv("TERM");
    if (type == nullptr || type[0] == '\0') return TerminalStart::UnknownTerminal;
    originalModesKnown = tcgetattr(STDIN_FILENO, &originalModes) == 0;
    if (!installHandlers()) return TerminalStart::NotATerminal;
    terminalScreen = newterm(type, stdout, stdin);
    if (terminalScreen == nullptr) return TerminalStart::UnknownTerminal;
    set_term(terminalScreen);
    cbreak();
    noecho();
    nonl();
    // The game reads the terminal itself; curses must not look at its input to cut a
    // screen update short.
    typeahead(-1);
    curs_set(0);
    prepareEmergencyText();
    terminalTaken = true;
    refresh();  // the alternate screen first, then focus reporting within it
    writeText(FOCUS_REPORTS_ON);
    return TerminalStart::Ready;
}

void closeTerminal() {
    if (!terminalTaken) return;
    writeText(FOCUS_REPORTS_OFF);
    curs_set(1);
    endwin();
    terminalTaken = false;
}

void reopenTerminal() {
    // Also when still taken: after a stop from outside, the shell may have reset the
    // terminal's modes and the screen.
    terminalTaken = true;
    reset_prog_mode();
    clearok(curscr, TRUE);
    refresh();
    writeText(FOCUS_REPORTS_ON);
}

int signalDescriptor() { return signalPipe[0]; }

int takeSignal() {
    unsigned char byte = 0;
    return read(signalPipe[0], &byte, 1) == 1 ? byte : 0;
}

void dieBySignal(int number) {
    closeTerminal();
    signal(number, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(number);
    _exit(128 + number);  // for a signal whose default action does not end the process
}

void suspendProcess() {
    closeTerminal();
    signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP);
    // Continued: Ctrl-Z must find our handler again next time.
    installHandler(SIGTSTP, forwardSignal);
    reopenTerminal();
}

void followTerminalSize(int& rows, int& columns) {
    struct winsize size;
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
        resize_term(size.ws_row, size.ws_col);
    // The terminal may have moved or cut what it showed; curses cannot know what is left.
    clearok(curscr, TRUE);
    getmaxyx(stdscr, rows, columns);
}
