// Keys go to whatever is in front: the name prompt, a message, or the game. Focus reports
// are handled in every case, since the focus comes and goes whatever is open, and every
// key reaches the session, which takes it as proof of the focus.
#include "tui/tui_app.h"

#include <curses.h>
#include <cstdio>
#include <cwctype>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"
#include "tui/wide_text.h"

static_assert(KEY_FOCUS_IN > KEY_MAX && KEY_FOCUS_OUT > KEY_MAX, "past curses' own key codes");

namespace {

constexpr wint_t ESCAPE = 0x1B;

TuiApp& appOf(void* context) { return *static_cast<TuiApp*>(context); }

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

// The session's front end: the loop's wake-up time, the screen and the file.
void setAlarm(void* context, int64_t atMs) { appOf(context).wakeMs = atMs; }
void clearAlarm(void* context) { appOf(context).wakeMs = -1; }
void repaint(void* context) { appOf(context).screenChanged = true; }

StoredResult readStoredBest(void* context, BestResult& stored) {
    return readBestResultFile(appOf(context).bestResultPath, stored);
}

// What the Windows main window does on the game-over notice.
void gameEnded(void* context, int32_t score, bool newBest) {
    TuiApp& app = appOf(context);
    app.screenChanged = true;
    if (!newBest) return;
    openMessage(app, TEXT_NEW_RECORD_CAPTION, TEXT_NEW_RECORD_PROMPT, score);
    app.overlay = Overlay::NamePrompt;
    app.name.clear();
    app.cursor = 0;
    app.promptScore = score;
    setSessionHold(app.session, HoldCause::Dialog, true, app.session.nowMs);
}

void watchEnded(void* context, int32_t) { appOf(context).screenChanged = true; }

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
        if (!promptNameAllowed(utf8Text(longer))) return;
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

// The game's keys as session keys; the others act here and play nothing.
SessionKey handleGameKey(TuiApp& app, KeyPress key) {
    wint_t letter = key.isKeyCode ? 0 : std::towlower(key.code);
    if (letter == 'v') showBestResult(app);
    if (letter == 'o') openMessage(app, TEXT_ABOUT_CAPTION, TEXT_ABOUT);
    app.quit = app.quit || letter == 'k' || letter == 'q' || isKeyCode(key, KEY_F(10));
    if (letter == 'n' || isKeyCode(key, KEY_F(2))) return SessionKey::NewGame;
    if (letter == 'p') return SessionKey::Pause;
    switch (key.isKeyCode ? key.code : 0) {
    case KEY_LEFT: return SessionKey::MoveLeft;
    case KEY_RIGHT: return SessionKey::MoveRight;
    case KEY_UP: return SessionKey::Rotate;
    case KEY_DOWN: return SessionKey::StepDown;
    default: return SessionKey::Other;
    }
}

}  // namespace

void startTuiApp(TuiApp& app, const std::string& bestResultPath) {
    app.bestResultPath = bestResultPath;
    startSession(app.session, SessionFrontEnd{&app, setAlarm, clearAlarm, repaint, readStoredBest,
                                              gameEnded, watchEnded});
}

void handleKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    app.screenChanged = true;
    // Enter and Backspace come as characters or as key codes, depending on the terminal.
    if (!key.isKeyCode && (key.code == '\r' || key.code == '\n')) key = KeyPress{true, KEY_ENTER};
    if (!key.isKeyCode && (key.code == 0x7F || key.code == 0x08))
        key = KeyPress{true, KEY_BACKSPACE};
    if (isKeyCode(key, KEY_FOCUS_IN) || isKeyCode(key, KEY_FOCUS_OUT)) {
        setSessionHold(app.session, HoldCause::Focus, isKeyCode(key, KEY_FOCUS_OUT), nowMs);
        return;
    }
    SessionKey played = SessionKey::Other;
    if (app.overlay == Overlay::NamePrompt)
        handlePromptKey(app, key);
    else if (app.overlay == Overlay::Message && (isKeyCode(key, KEY_ENTER) || key.code == ESCAPE))
        app.overlay = Overlay::None;
    else if (app.overlay == Overlay::None)
        played = handleGameKey(app, key);
    setSessionHold(app.session, HoldCause::Dialog, app.overlay != Overlay::None, nowMs);
    sessionKey(app.session, played, nowMs);
}
