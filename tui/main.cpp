// kostrel-tui: the game in a terminal. One loop sleeps in poll(2) until a key, a signal, the
// end of a lone Esc's wait or the next fall step, handles what came, and redraws.
#include <curses.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "tui/best_result_file.h"
#include "tui/key_decoder.h"
#include "tui/terminal_session.h"
#include "tui/tui_app.h"
#include "tui/tui_screen.h"
#include "tui/tui_texts.h"

namespace {

constexpr int EXIT_SETUP_FAILED = 2;

int64_t monotonicMs() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

struct Loop {
    TuiApp app;
    KeyDecoder decoder;
    int64_t escapeDeadline = -1;
    int rows = 0;
    int columns = 0;
};

void followSize(Loop& loop, int64_t now) {
    followTerminalSize(loop.rows, loop.columns);
    setTooSmall(loop.app, loop.rows < SCREEN_ROWS_NEEDED || loop.columns < SCREEN_COLUMNS_NEEDED,
                now);
}

void handleSignal(Loop& loop, int number, int64_t now) {
    switch (number) {
    case SIGWINCH: followSize(loop, now); break;
    case SIGTSTP:
        holdForSuspend(loop.app, now);
        suspendProcess();
        followSize(loop, monotonicMs());
        break;
    case SIGCONT:  // also after a stop that did not come through Ctrl-Z
        reopenTerminal();
        followSize(loop, now);
        break;
    default: dieBySignal(number);
    }
}

void handleKeys(Loop& loop, const std::vector<KeyEvent>& keys, int64_t now) {
    for (const KeyEvent& key : keys) {
        handleKey(loop.app, key, now);
        if (loop.app.quit) return;
    }
}

// Milliseconds until the earliest of the lone Esc's end and the next fall step; -1 waits
// for input alone.
int pollTimeout(const Loop& loop, int64_t now) {
    int64_t wake = nextFallWakeMs(loop.app);
    if (loop.escapeDeadline >= 0 && (wake < 0 || loop.escapeDeadline < wake))
        wake = loop.escapeDeadline;
    if (wake < 0) return -1;
    return wake <= now ? 0 : static_cast<int>(wake - now);
}

// False when the terminal has gone away.
bool readInput(Loop& loop, int64_t now) {
    char bytes[4096];
    ssize_t count = read(STDIN_FILENO, bytes, sizeof bytes);
    if (count < 0) return errno == EINTR || errno == EAGAIN;
    if (count == 0) return false;
    std::vector<KeyEvent> keys;
    decodeKeyBytes(loop.decoder, bytes, static_cast<size_t>(count), keys);
    loop.escapeDeadline = awaitsEscapeSequence(loop.decoder) ? now + LONE_ESCAPE_WAIT_MS : -1;
    handleKeys(loop, keys, now);
    return true;
}

void run(Loop& loop) {
    followSize(loop, monotonicMs());
    for (;;) {
        if (takeScreenChange(loop.app)) drawScreen(loop.app, loop.rows, loop.columns);
        if (loop.app.quit) return;
        struct pollfd sources[2] = {{STDIN_FILENO, POLLIN, 0}, {signalDescriptor(), POLLIN, 0}};
        int ready = poll(sources, 2, pollTimeout(loop, monotonicMs()));
        int64_t now = monotonicMs();
        if (ready < 0 && errno != EINTR) return;
        if (ready > 0 && (sources[1].revents & POLLIN) != 0) {
            for (int number = takeSignal(); number != 0; number = takeSignal())
                handleSignal(loop, number, now);
        }
        if (ready > 0 && (sources[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            if (!readInput(loop, now)) dieBySignal(SIGHUP);
        } else if (loop.escapeDeadline >= 0 && now >= loop.escapeDeadline) {
            std::vector<KeyEvent> keys;
            expireLoneEscape(loop.decoder, keys);
            loop.escapeDeadline = -1;
            handleKeys(loop, keys, now);
        }
        handleFallTicks(loop.app, now);
    }
}

}  // namespace

int main() {
    if (!chooseUtf8Locale()) {
        std::fputs(TEXT_NO_UTF8, stderr);
        return EXIT_SETUP_FAILED;
    }
    switch (openTerminal()) {
    case TerminalStart::Ready: break;
    case TerminalStart::NotATerminal:
        std::fputs(TEXT_NOT_A_TERMINAL, stderr);
        return EXIT_SETUP_FAILED;
    case TerminalStart::UnknownTerminal: {
        const char* type = std::getenv("TERM");
        std::fprintf(stderr, TEXT_UNKNOWN_TERMINAL, type != nullptr ? type : "");
        return EXIT_SETUP_FAILED;
    }
    }
    setUpScreenColours();
    Loop loop;
    startTuiApp(loop.app, createTuiGame(), bestResultPathForUser());
    run(loop);
    closeTerminal();
    destroyTuiGame(loop.app.game);
    return 0;
}
