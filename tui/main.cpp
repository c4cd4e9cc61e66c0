// kostrel-tui: the game in a terminal. One loop sleeps until a key, a signal or the next
// fall step, handles what came, and redraws.
#include <curses.h>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

#include "tui/command_line.h"
#include "tui/kept_file.h"
#include "tui/replay_file.h"
#include "tui/terminal_session.h"
#include "tui/tui_screen.h"
#include "tui/tui_texts.h"

namespace {

constexpr int EXIT_SETUP_FAILED = 2;

int64_t monotonicMs() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

// The code of --replay, read and replayed to its end before the terminal is taken, so that
// a refusal says why on a terminal as the shell left it.
bool readReplayArgument(const std::string& path, ReplayFile& file) {
    std::string shown = shownArgument(path.c_str());
    switch (readReplayFile(path, file)) {
    case ReplayFileRead::Found: return true;
    case ReplayFileRead::Missing:
        std::fprintf(stderr, TEXT_REPLAY_FILE_MISSING, shown.c_str());
        break;
    case ReplayFileRead::Unreadable:
        std::fprintf(stderr, TEXT_REPLAY_FILE_UNREADABLE, shown.c_str());
        break;
    case ReplayFileRead::TooLarge:
        std::fprintf(stderr, TEXT_REPLAY_FILE_TOO_LARGE, shown.c_str());
        break;
    case ReplayFileRead::Bad:
        std::fprintf(stderr, TEXT_REPLAY_FILE_BAD, shown.c_str(), file.why.c_str());
        break;
    }
    return false;
}

void followSize(TuiApp& app, int64_t now) {
    clearok(curscr, TRUE);  // the terminal may have moved or cut what it showed
    app.screenChanged = true;
    bool tooSmall = LINES < SCREEN_ROWS_NEEDED || COLS < SCREEN_COLUMNS_NEEDED;
    setSessionHold(app.session, HoldCause::TooSmall, tooSmall, now);
}

void run(TuiApp& app) {
    followSize(app, monotonicMs());
    for (;;) {
        if (app.screenChanged) drawScreen(app);
        app.screenChanged = false;
        markSessionDrawn(app.session);
        if (app.quit) return;
        int64_t wake = app.wakeMs;
        int64_t wait = wake < 0 ? -1 : std::clamp<int64_t>(wake - monotonicMs(), 0, INT_MAX);
        bool suspended = waitForTerminal(static_cast<int>(wait));
        int64_t now = monotonicMs();
        if (suspended) setSessionHold(app.session, HoldCause::Player, true, now);  // after Ctrl-Z
        for (KeyPress key; !app.quit && readKey(key);) {
            if (key.isKeyCode && key.code == KEY_RESIZE)
                followSize(app, now);
            else
                handleKey(app, key, now);
        }
        sessionTick(app.session, now);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The usage and the version need no terminal: they answer before it is looked at.
    CommandLine line = parseCommandLine(argc, argv);
    if (line.launch != Launch::Play) return answerCommandLine(line);
    static ReplayFile watched;
    if (line.replayGiven && !readReplayArgument(line.replayFile, watched)) return EXIT_SETUP_FAILED;
    if (!openTerminal()) return EXIT_SETUP_FAILED;
    setUpScreenColours();
    static TuiApp app;
    startTuiApp(app, TuiFolders{dataFolderForUser(), stateFolderForUser()});
    if (line.replayGiven)
        watchOnly(app, watched.replay, monotonicMs());  // it replayed to its end above
    else
        chooseStartingAdversary(app, line.adversaryGiven ? &line.adversary : nullptr);
    run(app);
    closeTerminal();
    return 0;
}
