// The browser edition's board view: one game record with its host, the fall timer kept in
// the Windows timer's rhythm, the Windows key table and the paint of the board and the
// preview. Plain C++, so the native tests drive it with a made-up page and made-up clocks.
#pragma once

#include <cstdint>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"

enum class CanvasArea { Board, Preview };

// What the view asks of the page. Times are milliseconds of the page's monotonic clock.
struct PageOperations {
    void* context;
    void (*setFallAlarm)(void* context, double atMs);  // replaces any alarm set before
    void (*clearFallAlarm)(void* context);
    void (*requestFrame)(void* context);  // call webPaint at the next animation frame
    void (*fillCell)(void* context, CanvasArea area, int column, int row, bool filled);
    void (*showScore)(void* context, const char* text);
    void (*gameOver)(void* context);  // handled after the step that ended the game returns
};

struct WebView {
    GameState state;
    GameHost host;
    PageOperations page;
    double nowMs = 0;
    double nextTickMs = 0;
    bool timerRunning = false;
    bool held = false;            // the page holds the game: focus lost, hidden, a dialog
    bool frameRequested = false;  // requests coalesce into one paint, as WM_PAINT does
    uint32_t previewWord = 0;     // kind 0 in rotation 0 until the first notice
};

// Window key codes, which the browser's keyCode shares for these keys.
constexpr uint32_t KEY_LEFT = 0x25;
constexpr uint32_t KEY_UP = 0x26;
constexpr uint32_t KEY_RIGHT = 0x27;
constexpr uint32_t KEY_DOWN = 0x28;
constexpr uint32_t KEY_F2 = 0x71;

// Creates the record, links the score label and the preview as the Windows main window
// does at its creation, and asks for the first frame.
void startWebView(WebView& view, const PageOperations& page, double nowMs);

// The Windows key table; true for the five game keys, which the page then keeps from the
// browser. Nothing acts while the page holds the game.
bool webKeyDown(WebView& view, uint32_t keyCode, double nowMs);
void webNewGame(WebView& view, double nowMs);  // the menu's "Nová hra"

// The page's alarm went off: one fall step however late, the next one in the rhythm.
void webFallAlarm(WebView& view, double nowMs);

// Pauses or resumes the game. While held no alarm is set, so a paused page runs nothing;
// resuming keeps the timer's rhythm, as the Windows timer runs on behind a pause.
void webHold(WebView& view, bool held, double nowMs);

void webPaint(WebView& view);  // the whole board with the falling piece, and the preview
int32_t webScore(WebView& view);
