// kostrel-tui: the game in a terminal. One loop sleeps until a key, a signal or the next
// fall step, handles what came, and redraws.
#include <curses.h>
#include <algorithm>
#include <chrono>

#include "tui/best_result_file.h"
#include "tui/command_line.h"
#include "tui/terminal_session.h"
#include "tui/tui_screen.h"

namespace {

constexpr int EXIT_SETUP_FAILED = 2;

int64_t monotonicMs() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void followSize(TuiApp& app, int64_t now) {
    clearok(curscr, TRUE);  // the terminal may have moved or cut what it showed
    app.holds.tooSmall = LINES < SCREEN_ROWS_NEEDED || COLS < SCREEN_COLUMNS_NEEDED;
    applyHolds(app, now);
}

void run(TuiApp& app) {
    followSize(app, monotonicMs());
    for (;;) {
        if (app.screenChanged) drawScreen(app);
        app.screenChanged = false;
        if (app.quit) return;
        int64_t wake = nextFallWakeMs(app);
        int64_t wait = wake < 0 ? -1 : std::max<int64_t>(0, wake - monotonicMs());
        bool suspended = waitForTerminal(static_cast<int>(wait));
        int64_t now = monotonicMs();
        if (suspended) {
            app.holds.player = true;  // back from Ctrl-Z paused
            applyHolds(app, now);
        }
        for (KeyPress key; !app.quit && readKey(key);) {
            if (key.isKeyCode && key.code == KEY_RESIZE)
                followSize(app, now);
            else
                handleKey(app, key, now);
        }
        handleFallTicks(app, now);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The usage and the version need no terminal: they answer before it is looked at.
    CommandLine line = parseCommandLine(argc, argv);
    if (line.launch != Launch::Play) return answerCommandLine(line);
    if (!openTerminal()) return EXIT_SETUP_FAILED;
    setUpScreenColours();
    static TuiApp app;
    startTuiGame(app.game);
    app.bestResultPath = bestResultPathForUser();
    run(app);
    closeTerminal();
    return 0;
}
