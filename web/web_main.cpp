// The browser edition's entry: the one board view of the page, its exports to the page's
// script and the page operations that the JavaScript library (page_library.js) supplies.
#include <emscripten.h>

#include "web/web_view.h"

extern "C" {
// In page_library.js.
void page_set_fall_alarm(double atMs);
void page_clear_fall_alarm();
void page_request_frame();
void page_fill_cell(int area, int column, int row, int filled);
void page_show_score(const char* text);
void page_game_over();
}

namespace {

// One page load is one program run: one view, and the game's random source starts afresh.
WebView view;

void setFallAlarm(void*, double atMs) { page_set_fall_alarm(atMs); }
void clearFallAlarm(void*) { page_clear_fall_alarm(); }
void requestFrame(void*) { page_request_frame(); }
void fillCell(void*, CanvasArea area, int column, int row, bool filled) {
    page_fill_cell(area == CanvasArea::Board ? 0 : 1, column, row, filled ? 1 : 0);
}
void showScore(void*, const char* text) { page_show_score(text); }
void gameOver(void*) { page_game_over(); }

}  // namespace

extern "C" {

// The page calls this once, when the module is ready and before anything else.
EMSCRIPTEN_KEEPALIVE void kostrel_start() {
    PageOperations page{nullptr,  setFallAlarm, clearFallAlarm, requestFrame,
                        fillCell, showScore,    gameOver};
    startWebView(view, page, emscripten_get_now());
}
EMSCRIPTEN_KEEPALIVE int kostrel_key_down(uint32_t keyCode) {
    return webKeyDown(view, keyCode, emscripten_get_now()) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void kostrel_new_game() { webNewGame(view, emscripten_get_now()); }
EMSCRIPTEN_KEEPALIVE void kostrel_fall_alarm() { webFallAlarm(view, emscripten_get_now()); }
EMSCRIPTEN_KEEPALIVE void kostrel_hold(int held) { webHold(view, held != 0, emscripten_get_now()); }
EMSCRIPTEN_KEEPALIVE void kostrel_paint() { webPaint(view); }
EMSCRIPTEN_KEEPALIVE int kostrel_score() { return webScore(view); }

}  // extern "C"
