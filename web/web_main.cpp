// The browser edition's C++: the page's one game session, the Windows key table and the
// watch keys, the paint of the board, the preview and what goes beside them, the adversary
// chosen and remembered, each adversary's best result and its game in the page's storage,
// and the replays shared and watched, all exported to the page's script; the page
// operations come from the JavaScript library page_library.js. Text crosses as UTF-16 code
// units, so that a lone surrogate reaches the name rule as such.
#include <emscripten.h>

#include <cmath>

#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/shown_cell.h"
#include "model/session/adversary_stores.h"
#include "model/session/game_session.h"

extern "C" {
// In page_library.js.
void page_set_fall_alarm(double atMs);
void page_clear_fall_alarm();
void page_request_frame();
void page_fill_cell(int area, int column, int row, int filled);
void page_show_score(const char* text);
// The rest of what the session shows: the shown game's adversary and the next game's, as
// indexes of ADVERSARIES; whether a replay is watched, stands still or has ended, and its
// speed as a power of two; whether the player's pause holds the game.
void page_show_state(int adversary, int nextAdversary, int watching, int paused, int over,
                     int speed, int playerPaused);
// The why-this-piece panel: a ChoiceShown with the adversary and the chosen kind, then for
// a scored choice each kind's badness and how often its answer's board was seen before.
void page_show_choice(int shown, int adversary, int chosen);
void page_show_kind(int kind, int badness, int timesSeen);
void page_game_ended(int score, int newBest);
// The localStorage entry `name`'s code units into `units` (at most `capacity`): its length,
// -1 when there is none, -2 when the storage cannot be read.
int page_read_entry(const char* name, char16_t* units, int capacity);
int page_write_entry(const char* name, const char16_t* units, int count);  // 1 when stored
}

namespace {

// The Windows virtual-key codes of the keys, which the page's script hands over.
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_P = 0x50;
constexpr uint32_t VK_Q = 0x51;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_F2 = 0x71;

constexpr int BOARD_CANVAS = 0;
constexpr int PREVIEW_CANVAS = 1;
// Texts from the page: a stored entry, a name or an adversary's id, which are never longer.
constexpr int TEXT_UNITS = static_cast<int>(BEST_RESULT_TEXT_LIMIT);

// One page load is one program run: one session, and the game's random source afresh.
GameSession session;
char16_t pageText[TEXT_UNITS];    // where the page puts a text for the calls below
char16_t storedText[TEXT_UNITS];  // where the page copies a stored entry
std::string pageCode;             // where the page puts a replay code, as bytes
std::string shownName;            // the name of the last best result read, for the page
std::string shownText;            // the last text handed to the page: a code or a reason
bool choiceWanted = false;        // the why-this-piece panel is on
Adversary endedAdversary = DEFAULT_ADVERSARY;  // the last finished game's
std::string endedCode;                         // and its code, kept for its best result

// performance.now() in whole milliseconds, held within what the session's clock takes:
// no value, however wrong, makes the conversion undefined.
int64_t nowMs() {
    constexpr double LATEST_MS = 9007199254740992.0;  // 2^53, where doubles stop being exact
    double now = emscripten_get_now();
    return now >= 0 && now <= LATEST_MS ? static_cast<int64_t>(std::floor(now)) : 0;
}

int indexOf(Adversary adversary) { return static_cast<int>(adversary); }

bool textOf(const char16_t* units, int count, std::string& text) {
    return count >= 0 && count <= TEXT_UNITS &&
           utf8FromUtf16(units, static_cast<size_t>(count), text);
}

// A code's UTF-16 units as the bytes that the reader takes. A unit beyond ASCII belongs in
// no code: it becomes a byte that the reader refuses, at its place.
char codeByte(char16_t unit) { return unit < 0x80 ? static_cast<char>(unit) : '\xFF'; }

// A stored entry of any length as code bytes; false when there is none or it cannot be read.
bool readCodeEntry(const std::string& name, std::string& code) {
    int count = page_read_entry(name.c_str(), nullptr, 0);
    if (count < 0) return false;
    std::u16string units(static_cast<size_t>(count), u'\0');
    if (page_read_entry(name.c_str(), units.data(), count) != count) return false;
    code.clear();
    for (char16_t unit : units) code += codeByte(unit);
    return true;
}

bool writeEntry(const std::string& name, const std::string& text) {
    std::u16string units = utf16FromUtf8(text);
    return page_write_entry(name.c_str(), units.data(), static_cast<int>(units.size())) != 0;
}

StoredResult readStoredBest(Adversary adversary, BestResult& stored) {
    int count = page_read_entry(bestResultEntryName(adversary).c_str(), storedText, TEXT_UNITS);
    if (count == -2) return StoredResult::Unreadable;
    std::string text;
    bool found = textOf(storedText, count, text) && parseBestResult(text, stored);
    return found ? StoredResult::Found : StoredResult::None;
}

void setAlarm(void*, int64_t atMs) { page_set_fall_alarm(static_cast<double>(atMs)); }
void clearAlarm(void*) { page_clear_fall_alarm(); }
void requestFrame(void*) { page_request_frame(); }
// The game that ends is compared with its own adversary's best result.
StoredResult readBest(void*, BestResult& stored) {
    return readStoredBest(session.adversary.adversary, stored);
}
void gameEnded(void*, int32_t score, bool newBest) {
    endedAdversary = session.adversary.adversary;
    endedCode = sessionReplayCode(session);
    page_game_ended(score, newBest ? 1 : 0);
}
void watchEnded(void*, int32_t) { page_request_frame(); }

// Chooses the adversary that a stored or typed id names: its index, or -1 and klasicky.
int chooseNamed(std::string_view id) {
    Adversary adversary = DEFAULT_ADVERSARY;
    bool known = readAdversaryChoice(id, adversary);
    chooseSessionAdversary(session, adversary);
    return known ? indexOf(adversary) : -1;
}

// The watch keys, while a replay is watched.
bool watchKeyOf(uint32_t virtualKey, WatchKey& key) {
    switch (virtualKey) {
    case VK_SPACE: key = WatchKey::Pause; return true;
    case VK_ADD: key = WatchKey::Faster; return true;
    case VK_SUBTRACT: key = WatchKey::Slower; return true;
    case VK_END: key = WatchKey::End; return true;
    case VK_ESCAPE:
    case VK_Q: key = WatchKey::Stop; return true;
    default: return false;
    }
}

void paintChoice(const SessionView& shown) {
    KindScores scores{};
    ChoiceShown choice = sessionPieceChoice(session, scores);
    page_show_choice(static_cast<int>(choice), indexOf(shown.adversary), scores.chosen);
    if (choice != ChoiceShown::Scored) return;
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        page_show_kind(kind, scores.badness[kind], static_cast<int>(scores.timesSeen[kind]));
}

}  // namespace

extern "C" {

// The page calls this once, when the module is ready and before anything else.
EMSCRIPTEN_KEEPALIVE void kostrel_start() {
    startSession(session, SessionFrontEnd{nullptr, setAlarm, clearAlarm, requestFrame, readBest,
                                          gameEnded, watchEnded});
}

// Every key that the page gets, as a Windows virtual-key code (0 for one that has none): it
// proves the focus. True for the keys that play, which the page then keeps from the
// browser: the game's, and while a replay is watched, the watch's.
EMSCRIPTEN_KEEPALIVE int kostrel_key_down(uint32_t virtualKey) {
    WatchKey watchKey = WatchKey::Pause;
    if (session.watching && watchKeyOf(virtualKey, watchKey)) {
        sessionWatchKey(session, watchKey, nowMs());
        return 1;
    }
    SessionKey key = SessionKey::Other;
    switch (virtualKey) {
    case VK_LEFT: key = SessionKey::MoveLeft; break;
    case VK_UP: key = SessionKey::Rotate; break;
    case VK_RIGHT: key = SessionKey::MoveRight; break;
    case VK_DOWN: key = SessionKey::StepDown; break;
    case VK_F2: key = SessionKey::NewGame; break;
    case VK_P: key = SessionKey::Pause; break;
    default: break;
    }
    sessionKey(session, key, nowMs());
    return key != SessionKey::Other ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kostrel_new_game() { sessionKey(session, SessionKey::NewGame, nowMs()); }
EMSCRIPTEN_KEEPALIVE void kostrel_fall_alarm() { sessionTick(session, nowMs()); }

// cause: a HoldCause's value; the page's are 1 the focus, 2 the hidden page, 4 a dialog.
EMSCRIPTEN_KEEPALIVE void kostrel_hold(int cause, int held) {
    if (cause >= 0 && cause <= static_cast<int>(HoldCause::Dialog))
        setSessionHold(session, static_cast<HoldCause>(cause), held != 0, nowMs());
}
EMSCRIPTEN_KEEPALIVE int kostrel_held_by(int cause) {
    bool known = cause >= 0 && cause <= static_cast<int>(HoldCause::Dialog);
    return known && sessionHeldBy(session, static_cast<HoldCause>(cause)) ? 1 : 0;
}

// The whole board with the falling piece, the preview, the score, what goes beside them
// and, while its panel is on, why the preview's piece was chosen.
EMSCRIPTEN_KEEPALIVE void kostrel_paint() {
    markSessionDrawn(session);
    const SessionView shown = sessionView(session);
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            page_fill_cell(BOARD_CANVAS, column, row, boardCellShown(*shown.state, row, column));
    const char* next = previewPicture(shown.previewWord);
    for (int row = 0; row < PICTURE_SIDE; ++row)
        for (int column = 0; column < PICTURE_SIDE; ++column)
            page_fill_cell(PREVIEW_CANVAS, column, row, pictureCellFilled(next, row, column));
    page_show_score(shown.scoreText);
    bool playerPaused = shown.paused && sessionHeldBy(session, HoldCause::Player);
    page_show_state(indexOf(shown.adversary), indexOf(session.nextAdversary), shown.watching,
                    shown.paused, shown.over, shown.watchSpeed, playerPaused && !shown.watching);
    if (choiceWanted) paintChoice(shown);
}

// Turns the why-this-piece panel on or off; while it is off, nothing is scored for it.
EMSCRIPTEN_KEEPALIVE void kostrel_show_choice(int on) {
    choiceWanted = on != 0;
    page_request_frame();
}

// A kind's picture in its first rotation: 16 characters, a space for a blank cell, and no
// terminating zero.
EMSCRIPTEN_KEEPALIVE const char* kostrel_kind_picture(int kind) {
    return kind >= 0 && kind < PIECE_KINDS ? piecePicture(kind, 0) : nullptr;
}

// Where the page puts a text of `count` code units, or null when it is longer than any
// text that the calls below take.
EMSCRIPTEN_KEEPALIVE char16_t* kostrel_text_units(int count) {
    return count >= 0 && count <= TEXT_UNITS ? pageText : nullptr;
}

// Whether the name prompt may hold the page's text of `count` units.
EMSCRIPTEN_KEEPALIVE int kostrel_name_allowed(int count) {
    std::string name;
    return textOf(pageText, count, name) && promptNameAllowed(name) ? 1 : 0;
}

// The adversaries' Czech names in UTF-8 by index, null past the last.
EMSCRIPTEN_KEEPALIVE const char* kostrel_adversary_name(int index) {
    return index >= 0 && index < ADVERSARY_COUNT ? ADVERSARIES[index].name : nullptr;
}

// The adversary chosen for the next new game.
EMSCRIPTEN_KEEPALIVE int kostrel_chosen_adversary() { return indexOf(session.nextAdversary); }

// Chooses the adversary of the next new game and remembers it: 1 when done, 0 when it could
// not be stored.
EMSCRIPTEN_KEEPALIVE int kostrel_choose_adversary(int index) {
    if (index < 0 || index >= ADVERSARY_COUNT) return 0;
    Adversary adversary = ADVERSARIES[index].adversary;
    chooseSessionAdversary(session, adversary);
    return writeEntry(ADVERSARY_ENTRY_NAME, formatAdversaryChoice(adversary));
}

// Chooses the adversary that the page's text of `count` units names, as an id: its index,
// or -1 with klasicky chosen.
EMSCRIPTEN_KEEPALIVE int kostrel_choose_named(int count) {
    std::string id;
    if (!textOf(pageText, count, id)) id.clear();  // names none
    return chooseNamed(id);
}

// Chooses the remembered adversary: its index; -1 with klasicky chosen when the entry names
// none known; -2 when nothing is remembered or the storage cannot be read.
EMSCRIPTEN_KEEPALIVE int kostrel_restore_adversary() {
    int count = page_read_entry(ADVERSARY_ENTRY_NAME, storedText, TEXT_UNITS);
    if (count < 0) return -2;
    std::string stored;
    if (!textOf(storedText, count, stored)) stored.clear();  // names none
    return chooseNamed(stored);
}

// The current adversary's best result: its score, its name then in kostrel_best_name();
// -1 for none.
EMSCRIPTEN_KEEPALIVE int kostrel_read_best() {
    BestResult stored;
    if (readStoredBest(session.nextAdversary, stored) != StoredResult::Found) return -1;
    shownName = stored.name;
    return stored.score;
}
EMSCRIPTEN_KEEPALIVE const char* kostrel_best_name() { return shownName.c_str(); }

// Saves the page's text of `count` units as the name with `score`, as the best result of the
// last finished game's adversary, unless the entry, read again now, holds as high a score or
// higher (another tab saved it while the prompt was open) or cannot be read; then, after it,
// that game's code. A SaveOutcome: 0 saved, 1 beaten, 2 failed.
EMSCRIPTEN_KEEPALIVE int kostrel_save_best(int score, int count) {
    BestResult result{score, ""};
    if (!textOf(pageText, count, result.name)) return static_cast<int>(SaveOutcome::Failed);
    result.name = savedName(result.name);
    BestResult stored;
    SaveOutcome outcome = saveOutcome(result, readStoredBest(endedAdversary, stored), stored);
    if (outcome != SaveOutcome::Saved) return static_cast<int>(outcome);
    if (!writeEntry(bestResultEntryName(endedAdversary), formatBestResult(result)))
        return static_cast<int>(SaveOutcome::Failed);
    // A code that cannot be stored leaves an older one, which no longer replays to the score.
    writeEntry(bestReplayEntryName(endedAdversary), endedCode);
    return static_cast<int>(SaveOutcome::Saved);
}

// The last game's code, in progress or finished; empty before the first game.
EMSCRIPTEN_KEEPALIVE const char* kostrel_last_code() {
    shownText = sessionReplayCode(session);
    return shownText.c_str();
}

// Where the page puts a replay code of `count` characters, one byte each.
EMSCRIPTEN_KEEPALIVE char* kostrel_code_bytes(int count) {
    if (count < 0) return nullptr;
    pageCode.assign(static_cast<size_t>(count), '\0');
    return pageCode.data();
}

// Watches the page's code: 1, or 0 with the reason in kostrel_refusal().
EMSCRIPTEN_KEEPALIVE int kostrel_watch_code() {
    Replay replay;
    ReplayError error;
    bool watching = readReplayCode(pageCode, replay, error) &&
                    startSessionWatch(session, replay, nowMs(), error);
    std::string().swap(pageCode);  // a long code's memory goes
    if (!watching) shownText = replayErrorMessage(error);
    return watching ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE const char* kostrel_refusal() { return shownText.c_str(); }

// Watches the game of the current adversary's best result: 0 watching, 1 no best result, 2
// no game kept that replays to it.
EMSCRIPTEN_KEEPALIVE int kostrel_watch_best() {
    Adversary adversary = session.nextAdversary;
    BestResult stored;
    if (readStoredBest(adversary, stored) != StoredResult::Found) return 1;
    std::string code;
    Replay replay;
    ReplayError error;
    int32_t score = 0;
    bool kept = readCodeEntry(bestReplayEntryName(adversary), code) &&
                readReplayCode(code, replay, error) && replayFinalScore(replay, score, error) &&
                isBestResultGame(replay, score, adversary, stored.score);
    return kept && startSessionWatch(session, replay, nowMs(), error) ? 0 : 2;
}

}  // extern "C"
