// Keys go to whatever is in front: the name prompt, a message, or the game. Focus reports
// are handled in every case, since the focus comes and goes whatever is open.
#include "tui/tui_app.h"

#include <cstdio>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"

namespace {

// Tells the controller about a change of the holds; a new game clears the controller's
// pause flag, so it is told again after one.
void applyHolds(TuiApp& app, int64_t nowMs, bool force = false) {
    app.holds.overlay = app.overlay != Overlay::None;
    bool held = gameHeld(app.holds);
    if (held != app.heldApplied || force) {
        holdGame(*app.game, held, nowMs);
        app.heldApplied = held;
    }
    app.screenChanged = true;
}

void openMessage(TuiApp& app, const char* caption, const std::string& text) {
    app.overlay = Overlay::Message;
    app.caption = caption;
    app.text = text;
}

void showBestResult(TuiApp& app) {
    BestResult stored;
    if (!readBestResultFile(app.bestResultPath, stored)) {
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_BEST_RESULT_UNREADABLE);
        return;
    }
    // 25 characters of text, 11 of number and up to 1023 bytes of name fit.
    char text[1200];
    std::snprintf(text, sizeof text, TEXT_BEST_RESULT, static_cast<int>(stored.score),
                  stored.name.c_str());
    openMessage(app, TEXT_RECORD_CAPTION, text);
}

// What the Windows main window does on the game-over notice.
void checkNewRecord(TuiApp& app) {
    int32_t score = gameScore(*app.game);
    BestResult stored;
    int32_t best = readBestResultFile(app.bestResultPath, stored) ? stored.score : 0;
    if (score <= best) return;
    char prompt[256];
    std::snprintf(prompt, sizeof prompt, TEXT_NEW_RECORD_PROMPT, static_cast<int>(score));
    app.overlay = Overlay::NamePrompt;
    app.caption = TEXT_NEW_RECORD_CAPTION;
    app.text = prompt;
    app.name = NameEditor{};
    app.promptScore = score;
}

void afterGameCall(TuiApp& app, int64_t nowMs) {
    if (takeGameOver(*app.game)) {
        app.gameEnded = true;
        checkNewRecord(app);
        applyHolds(app, nowMs);
    }
    if (takeRepaintRequest(*app.game)) app.screenChanged = true;
}

void playGame(TuiApp& app, GameInput input, int64_t nowMs) {
    applyGameInput(*app.game, input, nowMs);
    if (input == GameInput::NewGame) {
        app.gameEnded = false;
        applyHolds(app, nowMs, true);
    }
    afterGameCall(app, nowMs);
}

void saveName(TuiApp& app) {
    BestResult result;
    result.score = app.promptScore;
    result.name = storedName(app.name);
    app.overlay = Overlay::None;
    if (!writeBestResultFile(app.bestResultPath, result))
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_RECORD_NOT_SAVED);
}

void handlePromptKey(TuiApp& app, const KeyEvent& event) {
    switch (event.key) {
    case Key::Text: insertCharacter(app.name, event.codePoint); break;
    case Key::Left: moveCursorLeft(app.name); break;
    case Key::Right: moveCursorRight(app.name); break;
    case Key::Home: moveCursorHome(app.name); break;
    case Key::End: moveCursorEnd(app.name); break;
    case Key::Backspace: deleteBeforeCursor(app.name); break;
    case Key::Delete: deleteAtCursor(app.name); break;
    case Key::Enter: saveName(app); break;
    case Key::Escape: app.overlay = Overlay::None; break;
    default: break;
    }
}

void handleGameKey(TuiApp& app, const KeyEvent& event, int64_t nowMs) {
    switch (event.key) {
    case Key::F2: playGame(app, GameInput::NewGame, nowMs); return;
    case Key::Left: playGame(app, GameInput::MoveLeft, nowMs); return;
    case Key::Right: playGame(app, GameInput::MoveRight, nowMs); return;
    case Key::Up: playGame(app, GameInput::Turn, nowMs); return;
    case Key::Down: playGame(app, GameInput::StepDown, nowMs); return;
    case Key::F10: app.quit = true; return;
    case Key::Text: break;
    default: return;
    }
    switch (event.codePoint) {
    case 'n':
    case 'N': playGame(app, GameInput::NewGame, nowMs); break;
    case 'p':
    case 'P': app.holds.player = !app.holds.player; break;
    case 'v':
    case 'V': showBestResult(app); break;
    case 'o':
    case 'O': openMessage(app, TEXT_ABOUT_CAPTION, TEXT_ABOUT); break;
    case 'k':
    case 'K':
    case 'q':
    case 'Q': app.quit = true; break;
    default: break;
    }
}

}  // namespace

void startTuiApp(TuiApp& app, TuiGame* game, const std::string& bestResultPath) {
    app.game = game;
    app.bestResultPath = bestResultPath;
    app.screenChanged = true;
}

void handleKey(TuiApp& app, const KeyEvent& event, int64_t nowMs) {
    if (event.key == Key::FocusIn || event.key == Key::FocusOut) {
        app.holds.focus = event.key == Key::FocusOut;
    } else if (app.overlay == Overlay::NamePrompt) {
        handlePromptKey(app, event);
    } else if (app.overlay == Overlay::Message) {
        if (event.key == Key::Enter || event.key == Key::Escape) app.overlay = Overlay::None;
    } else {
        handleGameKey(app, event, nowMs);
    }
    applyHolds(app, nowMs);
}

void handleFallTicks(TuiApp& app, int64_t nowMs) {
    runDueFallTicks(*app.game, nowMs);
    afterGameCall(app, nowMs);
}

void setTooSmall(TuiApp& app, bool tooSmall, int64_t nowMs) {
    app.holds.tooSmall = tooSmall;
    applyHolds(app, nowMs);
}

void holdForSuspend(TuiApp& app, int64_t nowMs) {
    app.holds.player = true;
    applyHolds(app, nowMs);
}

int64_t nextFallWakeMs(const TuiApp& app) {
    if (!fallTimerRunning(*app.game) || gameHeld(app.holds)) return -1;
    return nextFallTickMs(*app.game);
}

bool takeScreenChange(TuiApp& app) {
    bool changed = app.screenChanged;
    app.screenChanged = false;
    return changed;
}
