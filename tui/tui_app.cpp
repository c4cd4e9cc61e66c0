// Keys go to whatever is in front: the name prompt, a message, or the game. Focus reports
// are handled in every case, since the focus comes and goes whatever is open.
#include "tui/tui_app.h"

#include <curses.h>
#include <cstdio>
#include <cwctype>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"

static_assert(KEY_FOCUS_IN > KEY_MAX && KEY_FOCUS_OUT > KEY_MAX, "past curses' own key codes");

namespace {

constexpr wint_t ESCAPE = 0x1B;

bool isKeyCode(KeyPress key, int code) { return key.isKeyCode && key.code == wint_t(code); }

void openMessage(TuiApp& app, const char* caption, const char* format, int number = 0,
                 const char* name = "") {
    char text[1200];  // 25 characters of text, 11 of number and up to 1023 bytes of name
    std::snprintf(text, sizeof text, format, number, name);
    app.overlay = Overlay::Message;
    app.caption = caption;
    app.text = text;
}

void showBestResult(TuiApp& app) {
    BestResult stored;
    if (readBestResultFile(app.bestResultPath, stored) == StoredResult::Found)
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_BEST_RESULT, stored.score, stored.name.c_str());
    else
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_BEST_RESULT_UNREADABLE);
}

// What the Windows main window does on the game-over notice; a file that cannot be read
// may hold a record, so it opens no prompt.
void checkNewRecord(TuiApp& app, int64_t nowMs) {
    int32_t score = commandGame(app.game, CMD_GET_SCORE, nowMs);
    BestResult stored;
    StoredResult found = readBestResultFile(app.bestResultPath, stored);
    if (found == StoredResult::Unreadable ||
        score <= (found == StoredResult::Found ? stored.score : 0))
        return;
    openMessage(app, TEXT_NEW_RECORD_CAPTION, TEXT_NEW_RECORD_PROMPT, score);
    app.overlay = Overlay::NamePrompt;
    app.name.clear();
    app.cursor = 0;
    app.promptScore = score;
}

// What follows a command or a tick: the game-over check, a repaint, the holds.
void afterGameCall(TuiApp& app, int64_t nowMs) {
    if (takeNew(app.game.recording.gameOvers)) {
        app.gameEnded = true;
        checkNewRecord(app, nowMs);
        applyHolds(app, nowMs);
    }
    if (takeNew(app.game.recording.repaints)) app.screenChanged = true;
}

void playGame(TuiApp& app, uint32_t command, int64_t nowMs) {
    commandGame(app.game, command, nowMs);
    // A new game clears the controller's pause flag; handleKey applies the holds again.
    if (command == CMD_NEW_GAME) app.gameEnded = app.heldApplied = false;
    afterGameCall(app, nowMs);
}

void saveName(TuiApp& app) {
    BestResult result{app.promptScore, app.name.empty() ? "?" : utf8Text(app.name)};
    app.overlay = Overlay::None;
    BestResult stored;  // by another copy meanwhile, when Beaten
    SaveOutcome outcome = saveBestResult(app.bestResultPath, result, &stored);
    if (outcome == SaveOutcome::Beaten)
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_BEST_RESULT, stored.score, stored.name.c_str());
    if (outcome == SaveOutcome::Failed)
        openMessage(app, TEXT_RECORD_CAPTION, TEXT_RECORD_NOT_SAVED);
}

void handlePromptKey(TuiApp& app, KeyPress key) {
    std::wstring& name = app.name;
    size_t& cursor = app.cursor;
    if (!key.isKeyCode && key.code == ESCAPE) {
        app.overlay = Overlay::None;
    } else if (!key.isKeyCode) {
        // Only characters a name may hold, and only as many as the file takes.
        std::wstring longer = name.substr(0, cursor) + wchar_t(key.code) + name.substr(cursor);
        if (!nameCharacterAllowed(wchar_t(key.code)) || utf8Text(longer).size() > NAME_BYTE_LIMIT)
            return;
        name = longer;
        ++cursor;
    }
    switch (key.isKeyCode ? key.code : 0) {
    case KEY_LEFT: cursor -= cursor > 0 ? 1 : 0; break;
    case KEY_RIGHT: cursor += cursor < name.size() ? 1 : 0; break;
    case KEY_HOME: cursor = 0; break;
    case KEY_END: cursor = name.size(); break;
    case KEY_BACKSPACE:
        if (cursor > 0) name.erase(--cursor, 1);
        break;
    case KEY_DC: name.erase(cursor, 1); break;
    case KEY_ENTER: saveName(app); break;
    default: break;
    }
}

void handleGameKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    wint_t letter = key.isKeyCode ? 0 : std::towlower(key.code);
    switch (key.isKeyCode ? key.code : 0) {
    case KEY_F(2): playGame(app, CMD_NEW_GAME, nowMs); break;
    case KEY_LEFT: playGame(app, CMD_MOVE_LEFT, nowMs); break;
    case KEY_RIGHT: playGame(app, CMD_MOVE_RIGHT, nowMs); break;
    case KEY_UP: playGame(app, CMD_ROTATE, nowMs); break;
    case KEY_DOWN: playGame(app, CMD_STEP_DOWN, nowMs); break;
    default: break;
    }
    if (letter == 'n') playGame(app, CMD_NEW_GAME, nowMs);
    if (letter == 'p') app.holds.player = !app.holds.player;
    if (letter == 'v') showBestResult(app);
    if (letter == 'o') openMessage(app, TEXT_ABOUT_CAPTION, TEXT_ABOUT);
    app.quit = app.quit || letter == 'k' || letter == 'q' || isKeyCode(key, KEY_F(10));
}

}  // namespace

void handleKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    // Enter and Backspace come as characters or as key codes, depending on the terminal.
    if (!key.isKeyCode && (key.code == '\r' || key.code == '\n')) key = KeyPress{true, KEY_ENTER};
    if (!key.isKeyCode && (key.code == 0x7F || key.code == 0x08))
        key = KeyPress{true, KEY_BACKSPACE};
    if (isKeyCode(key, KEY_FOCUS_IN) || isKeyCode(key, KEY_FOCUS_OUT))
        app.holds.focus = isKeyCode(key, KEY_FOCUS_OUT);
    else if (app.overlay == Overlay::NamePrompt)
        handlePromptKey(app, key);
    else if (app.overlay == Overlay::Message && (isKeyCode(key, KEY_ENTER) || key.code == ESCAPE))
        app.overlay = Overlay::None;
    else if (app.overlay == Overlay::None)
        handleGameKey(app, key, nowMs);
    applyHolds(app, nowMs);
}

void handleFallTicks(TuiApp& app, int64_t nowMs) {
    passDueTicks(app.game, nowMs);
    afterGameCall(app, nowMs);
}

void applyHolds(TuiApp& app, int64_t nowMs) {
    bool held = gameHeld(app);
    app.screenChanged = true;
    if (held == app.heldApplied) return;
    // Before the resume, while the controller still ignores them, the ticks that fell due
    // while held pass; the next one comes in the timer's old rhythm.
    if (!held) passDueTicks(app.game, nowMs);
    commandGame(app.game, held ? CMD_PAUSE : CMD_RESUME, nowMs);
    app.heldApplied = held;
}

int64_t nextFallWakeMs(const TuiApp& app) {
    if (!app.game.recording.timerRunning || gameHeld(app)) return -1;
    return app.game.nextTickMs;
}
