// The browser edition's C++: the page's one game session, the Windows key table, the paint
// of the board and the preview, and the best result in the page's storage, all exported to
// the page's script; the page operations come from the JavaScript library page_library.js.
// Text crosses as UTF-16 code units, so that a lone surrogate reaches the name rule as such.
#include <emscripten.h>

#include <cmath>

#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/shown_cell.h"
#include "model/session/game_session.h"

extern "C" {
// In page_library.js.
void page_set_fall_alarm(double atMs);
void page_clear_fall_alarm();
void page_request_frame();
void page_fill_cell(int area, int column, int row, int filled);
void page_show_score(const char* text);
void page_game_ended(int score, int newBest);
// The stored entry's code units into `units` (at most `capacity`): its length, -1 when
// there is none, -2 when the storage cannot be read.
int page_read_best_entry(char16_t* units, int capacity);
int page_write_best_entry(const char16_t* units, int count);  // 1 when stored
}

namespace {

// The Windows virtual-key codes of the game's keys, which the page's script hands over.
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_F2 = 0x71;

constexpr int BOARD_CANVAS = 0;
constexpr int PREVIEW_CANVAS = 1;
// Texts from the page: a stored entry or a name, which are never longer.
constexpr int TEXT_UNITS = static_cast<int>(BEST_RESULT_TEXT_LIMIT);

// One page load is one program run: one session, and the game's random source afresh.
GameSession session;
char16_t pageText[TEXT_UNITS];    // where the page puts a text for the calls below
char16_t storedText[TEXT_UNITS];  // where the page copies the stored entry
std::string shownName;            // the name of the last best result read, for the page

// performance.now() in whole milliseconds, held within what the session's clock takes:
// no value, however wrong, makes the conversion undefined.
int64_t nowMs() {
    constexpr double LATEST_MS = 9007199254740992.0;  // 2^53, where doubles stop being exact
    double now = emscripten_get_now();
    return now >= 0 && now <= LATEST_MS ? static_cast<int64_t>(std::floor(now)) : 0;
}

bool textOf(const char16_t* units, int count, std::string& text) {
    return count >= 0 && count <= TEXT_UNITS &&
           utf8FromUtf16(units, static_cast<size_t>(count), text);
}

StoredResult readStoredBest(BestResult& stored) {
    int count = page_read_best_entry(storedText, TEXT_UNITS);
    if (count == -2) return StoredResult::Unreadable;
    std::string text;
    bool found = textOf(storedText, count, text) && parseBestResult(text, stored);
    return found ? StoredResult::Found : StoredResult::None;
}

void setAlarm(void*, int64_t atMs) { page_set_fall_alarm(static_cast<double>(atMs)); }
void clearAlarm(void*) { page_clear_fall_alarm(); }
void requestFrame(void*) { page_request_frame(); }
StoredResult readBest(void*, BestResult& stored) { return readStoredBest(stored); }
void gameEnded(void*, int32_t score, bool newBest) { page_game_ended(score, newBest ? 1 : 0); }
void watchEnded(void*, int32_t) { page_request_frame(); }

}  // namespace

extern "C" {

// The page calls this once, when the module is ready and before anything else.
EMSCRIPTEN_KEEPALIVE void kostrel_start() {
    startSession(session, SessionFrontEnd{nullptr, setAlarm, clearAlarm, requestFrame, readBest,
                                          gameEnded, watchEnded});
}

// Every key that the page gets, as a Windows virtual-key code (0 for one that has none): it
// proves the focus. True for the five game keys, which the page then keeps from the
// browser.
EMSCRIPTEN_KEEPALIVE int kostrel_key_down(uint32_t virtualKey) {
    SessionKey key = SessionKey::Other;
    switch (virtualKey) {
    case VK_LEFT: key = SessionKey::MoveLeft; break;
    case VK_UP: key = SessionKey::Rotate; break;
    case VK_RIGHT: key = SessionKey::MoveRight; break;
    case VK_DOWN: key = SessionKey::StepDown; break;
    case VK_F2: key = SessionKey::NewGame; break;
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

// The whole board with the falling piece, the preview and the score.
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

// The stored best result's score, its name then in kostrel_best_name(); -1 for none.
EMSCRIPTEN_KEEPALIVE int kostrel_read_best() {
    BestResult stored;
    if (readStoredBest(stored) != StoredResult::Found) return -1;
    shownName = stored.name;
    return stored.score;
}
EMSCRIPTEN_KEEPALIVE const char* kostrel_best_name() { return shownName.c_str(); }

// Saves the page's text of `count` units as the name with `score`, unless the entry, read
// again now, holds as high a score or higher (another tab saved it while the prompt was
// open) or cannot be read. A SaveOutcome: 0 saved, 1 beaten, 2 failed.
EMSCRIPTEN_KEEPALIVE int kostrel_save_best(int score, int count) {
    BestResult result{score, ""};
    if (!textOf(pageText, count, result.name)) return static_cast<int>(SaveOutcome::Failed);
    if (result.name.empty()) result.name = "?";
    BestResult stored;
    SaveOutcome outcome = saveOutcome(result, readStoredBest(stored), stored);
    if (outcome != SaveOutcome::Saved) return static_cast<int>(outcome);
    std::u16string entry = utf16FromUtf8(formatBestResult(result));
    bool written = page_write_best_entry(entry.data(), static_cast<int>(entry.size())) != 0;
    return static_cast<int>(written ? SaveOutcome::Saved : SaveOutcome::Failed);
}

}  // extern "C"
