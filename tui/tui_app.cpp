// Keys go to whatever is in front: the name prompt, the list of adversaries, a message, a
// watched replay or the game. Focus reports are handled in every case, since the focus
// comes and goes whatever is open, and every key reaches the session, which takes it as
// proof of the focus.
#include "tui/tui_app.h"

#include <curses.h>
#include <cstdio>
#include <cwctype>

#include "model/session/adversary_stores.h"
#include "tui/best_result_file.h"
#include "tui/formatted_text.h"
#include "tui/kept_file.h"
#include "tui/replay_file.h"
#include "tui/tui_texts.h"
#include "tui/wide_text.h"

static_assert(KEY_FOCUS_IN > KEY_MAX && KEY_FOCUS_OUT > KEY_MAX, "past curses' own key codes");

namespace {

constexpr wint_t ESCAPE = 0x1B;
constexpr size_t ADVERSARY_FILE_LIMIT = 256;  // an id and a line end, with room to spare

TuiApp& appOf(void* context) { return *static_cast<TuiApp*>(context); }

bool isKeyCode(KeyPress key, int code) { return key.isKeyCode && key.code == wint_t(code); }
bool isCharacter(KeyPress key, wint_t code) { return !key.isKeyCode && key.code == code; }

void openMessage(TuiApp& app, const std::string& caption, const std::string& text) {
    app.overlay = Overlay::Message;
    app.caption = caption;
    app.text = text;
}

const char* nameOf(Adversary adversary) { return adversaryInfo(adversary).name; }

std::string recordCaption(Adversary adversary) {
    return TEXT_RECORD_CAPTION + formatText(TEXT_RECORD_ADVERSARY, nameOf(adversary));
}

std::string bestResultPathOf(const TuiApp& app, Adversary adversary) {
    return keptPath(app.folders.data, bestResultFileName(adversary));
}

// The adversary whose game is shown, and with it whose record `v` and `W` show.
Adversary shownAdversary(const TuiApp& app) { return sessionView(app.session).adversary; }

void showBestResult(TuiApp& app) {
    Adversary adversary = shownAdversary(app);
    BestResult stored;
    if (readBestResultFile(bestResultPathOf(app, adversary), stored) == StoredResult::Found)
        openMessage(app, recordCaption(adversary),
                    formatText(TEXT_BEST_RESULT, stored.score, stored.name.c_str()));
    else
        openMessage(app, recordCaption(adversary), TEXT_BEST_RESULT_UNREADABLE);
}

// The session's front end: the loop's wake-up time, the screen and the files.
void setAlarm(void* context, int64_t atMs) { appOf(context).wakeMs = atMs; }
void clearAlarm(void* context) { appOf(context).wakeMs = -1; }
void repaint(void* context) { appOf(context).screenChanged = true; }

StoredResult readStoredBest(void* context, BestResult& stored) {
    TuiApp& app = appOf(context);
    return readBestResultFile(bestResultPathOf(app, app.session.adversary.adversary), stored);
}

// What the Windows main window does on the game-over notice, and the game kept as the last.
void gameEnded(void* context, int32_t score, bool newBest) {
    TuiApp& app = appOf(context);
    app.screenChanged = true;
    std::string code = sessionReplayCode(app.session);
    bool kept = writeKeptFile(keptPath(app.folders.data, LAST_GAME_FILE_NAME), code + "\n");
    if (newBest) {
        openMessage(app, TEXT_NEW_RECORD_CAPTION, formatText(TEXT_NEW_RECORD_PROMPT, score));
        app.overlay = Overlay::NamePrompt;
        app.name.clear();
        app.cursor = 0;
        app.promptScore = score;
        app.promptAdversary = app.session.adversary.adversary;
        app.promptCode = code;
    } else if (!kept) {
        openMessage(app, TEXT_REPLAY_CAPTION, TEXT_LAST_GAME_NOT_SAVED);
    }
    if (app.overlay != Overlay::None)
        setSessionHold(app.session, HoldCause::Dialog, true, app.session.nowMs);
}

void watchEnded(void* context, int32_t) { appOf(context).screenChanged = true; }

void saveName(TuiApp& app) {
    BestResult result{app.promptScore, savedName(utf8Text(app.name))};
    app.overlay = Overlay::None;
    Adversary adversary = app.promptAdversary;
    BestGameFile game{keptPath(app.folders.data, bestReplayFileName(adversary)), app.promptCode};
    BestResult stored;  // by another copy meanwhile, when Beaten
    SaveOutcome outcome = saveBestResult(bestResultPathOf(app, adversary), result, &game, &stored);
    if (outcome == SaveOutcome::Beaten)
        openMessage(app, recordCaption(adversary),
                    formatText(TEXT_BEST_RESULT, stored.score, stored.name.c_str()));
    if (outcome == SaveOutcome::Failed)
        openMessage(app, recordCaption(adversary), TEXT_RECORD_NOT_SAVED);
    if (outcome == SaveOutcome::Saved && !game.written)
        openMessage(app, TEXT_REPLAY_CAPTION, TEXT_LAST_GAME_NOT_SAVED);
}

void handlePromptKey(TuiApp& app, KeyPress key) {
    std::wstring& name = app.name;
    size_t& cursor = app.cursor;
    if (isCharacter(key, ESCAPE)) {
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

// The adversary of the next games, remembered for the next runs.
void chooseAdversary(TuiApp& app, Adversary chosen) {
    app.overlay = Overlay::None;
    chooseSessionAdversary(app.session, chosen);
    std::string path = keptPath(app.folders.state, ADVERSARY_FILE_NAME);
    if (!writeKeptFile(path, formatAdversaryChoice(chosen) + "\n"))
        openMessage(app, TEXT_ADVERSARY_TITLE, formatText(TEXT_CHOICE_NOT_SAVED, nameOf(chosen)));
    else if (shownAdversary(app) != chosen)
        openMessage(app, TEXT_ADVERSARY_TITLE,
                    formatText(TEXT_CHOSEN_FOR_NEXT_GAME, nameOf(chosen)));
}

void handleListKey(TuiApp& app, KeyPress key) {
    if (isCharacter(key, ESCAPE)) app.overlay = Overlay::None;
    switch (key.isKeyCode ? key.code : 0) {
    case KEY_UP: app.cursor = (app.cursor + ADVERSARY_COUNT - 1) % ADVERSARY_COUNT; break;
    case KEY_DOWN: app.cursor = (app.cursor + 1) % ADVERSARY_COUNT; break;
    case KEY_ENTER: chooseAdversary(app, Adversary(app.cursor)); break;
    default: break;
    }
}

void watch(TuiApp& app, const Replay& replay, int64_t nowMs) {
    ReplayError error;
    if (!startSessionWatch(app.session, replay, nowMs, error))
        openMessage(app, TEXT_REPLAY_CAPTION,
                    formatText(TEXT_REPLAY_BAD, replayErrorMessage(error).c_str()));
}

// `w`: the last game, whoever played it.
void watchLastGame(TuiApp& app, int64_t nowMs) {
    ReplayFile file;
    switch (readReplayFile(keptPath(app.folders.data, LAST_GAME_FILE_NAME), file)) {
    case ReplayFileRead::Found: watch(app, file.replay, nowMs); return;
    case ReplayFileRead::Missing: openMessage(app, TEXT_REPLAY_CAPTION, TEXT_NO_LAST_GAME); return;
    case ReplayFileRead::Bad:
        openMessage(app, TEXT_REPLAY_CAPTION, formatText(TEXT_REPLAY_BAD, file.why.c_str()));
        return;
    case ReplayFileRead::Unreadable:
    case ReplayFileRead::TooLarge: break;
    }
    openMessage(app, TEXT_REPLAY_CAPTION, TEXT_REPLAY_UNREADABLE);
}

// `W`: the game of the shown adversary's record, when it replays to that record's score.
void watchBestGame(TuiApp& app, int64_t nowMs) {
    Adversary adversary = shownAdversary(app);
    BestResult stored;
    ReplayFile file;
    ReplayFileRead read = ReplayFileRead::Missing;
    if (readBestResultFile(bestResultPathOf(app, adversary), stored) == StoredResult::Found)
        read = readReplayFile(keptPath(app.folders.data, bestReplayFileName(adversary)), file);
    if (read == ReplayFileRead::Missing)
        openMessage(app, recordCaption(adversary), TEXT_NO_BEST_GAME);
    else if (read != ReplayFileRead::Found ||
             !isBestResultGame(file.replay, file.score, adversary, stored.score))
        openMessage(app, recordCaption(adversary), TEXT_BEST_GAME_UNVERIFIED);
    else
        watch(app, file.replay, nowMs);
}

void handleWatchKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    bool stop = isCharacter(key, ESCAPE) || isCharacter(key, 'q') || isCharacter(key, 'Q');
    app.quit = app.quit || isCharacter(key, 'k') || isCharacter(key, 'K') ||
               isKeyCode(key, KEY_F(10)) || (stop && app.replayOnly);
    if (isCharacter(key, 'i') || isCharacter(key, 'I')) app.panelShown = !app.panelShown;
    if (stop) sessionWatchKey(app.session, WatchKey::Stop, nowMs);
    if (isCharacter(key, ' ')) sessionWatchKey(app.session, WatchKey::Pause, nowMs);
    if (isCharacter(key, '+')) sessionWatchKey(app.session, WatchKey::Faster, nowMs);
    if (isCharacter(key, '-')) sessionWatchKey(app.session, WatchKey::Slower, nowMs);
    if (isKeyCode(key, KEY_END)) sessionWatchKey(app.session, WatchKey::End, nowMs);
}

// The game's keys as session keys; the others act here and play nothing.
SessionKey handleGameKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    wint_t letter = key.isKeyCode ? 0 : std::towlower(key.code);
    if (letter == 'v') showBestResult(app);
    if (letter == 'o') openMessage(app, TEXT_ABOUT_CAPTION, TEXT_ABOUT);
    if (letter == 'i') app.panelShown = !app.panelShown;
    if (letter == 'a') {
        app.overlay = Overlay::AdversaryList;
        app.caption = TEXT_ADVERSARY_TITLE;
        app.text = TEXT_CHOOSE_TEXT;
        app.cursor = size_t(app.session.nextAdversary);
    }
    if (isCharacter(key, 'w')) watchLastGame(app, nowMs);
    if (isCharacter(key, 'W')) watchBestGame(app, nowMs);
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

void startTuiApp(TuiApp& app, const TuiFolders& folders) {
    app.folders = folders;
    startSession(app.session, SessionFrontEnd{&app, setAlarm, clearAlarm, repaint, readStoredBest,
                                              gameEnded, watchEnded});
}

void chooseStartingAdversary(TuiApp& app, const Adversary* given) {
    Adversary remembered = DEFAULT_ADVERSARY;
    std::string stored;
    KeptRead read = given != nullptr
                        ? KeptRead::Missing
                        : readKeptFile(keptPath(app.folders.state, ADVERSARY_FILE_NAME),
                                       ADVERSARY_FILE_LIMIT, stored);
    bool known = read == KeptRead::Found && readAdversaryChoice(stored, remembered);
    chooseSessionAdversary(app.session, given != nullptr ? *given : remembered);
    if (read == KeptRead::Missing || known) return;
    openMessage(app, TEXT_ADVERSARY_TITLE,
                formatText(TEXT_REMEMBERED_UNKNOWN, nameOf(DEFAULT_ADVERSARY)));
    setSessionHold(app.session, HoldCause::Dialog, true, app.session.nowMs);
}

bool watchOnly(TuiApp& app, const Replay& replay, int64_t nowMs) {
    app.replayOnly = true;
    ReplayError error;
    return startSessionWatch(app.session, replay, nowMs, error);
}

void handleKey(TuiApp& app, KeyPress key, int64_t nowMs) {
    app.screenChanged = true;
    // Enter and Backspace come as characters or as key codes, depending on the terminal.
    if (isCharacter(key, '\r') || isCharacter(key, '\n')) key = KeyPress{true, KEY_ENTER};
    if (isCharacter(key, 0x7F) || isCharacter(key, 0x08)) key = KeyPress{true, KEY_BACKSPACE};
    if (isKeyCode(key, KEY_FOCUS_IN) || isKeyCode(key, KEY_FOCUS_OUT)) {
        setSessionHold(app.session, HoldCause::Focus, isKeyCode(key, KEY_FOCUS_OUT), nowMs);
        return;
    }
    SessionKey played = SessionKey::Other;
    if (app.overlay == Overlay::NamePrompt)
        handlePromptKey(app, key);
    else if (app.overlay == Overlay::AdversaryList)
        handleListKey(app, key);
    else if (app.overlay == Overlay::Message &&
             (isKeyCode(key, KEY_ENTER) || isCharacter(key, ESCAPE)))
        app.overlay = Overlay::None;
    else if (app.overlay == Overlay::None && app.session.watching)
        handleWatchKey(app, key, nowMs);
    else if (app.overlay == Overlay::None)
        played = handleGameKey(app, key, nowMs);
    setSessionHold(app.session, HoldCause::Dialog, app.overlay != Overlay::None, nowMs);
    sessionKey(app.session, played, nowMs);
}
