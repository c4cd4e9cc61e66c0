// The browser's board view: its GameHost on the page's alarm, frames and score label.
#include "web/web_view.h"

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/shown_cell.h"

namespace {

// Nonzero handle words of the page's score label and preview, as the record keeps them.
constexpr uint32_t SCORE_LABEL = 1;
constexpr uint32_t PREVIEW = 2;
constexpr uint32_t FALL_TIMER_RUNNING = 1;

WebView& viewOf(void* context) { return *static_cast<WebView*>(context); }

void requestFrame(WebView& view) {
    if (view.frameRequested) return;
    view.frameRequested = true;
    view.page.requestFrame(view.page.context);
}

void armAlarm(WebView& view) {
    if (view.timerRunning && !view.held) view.page.setFallAlarm(view.page.context, view.nextTickMs);
}

uint32_t startFallTimer(void* context) {
    WebView& view = viewOf(context);
    view.timerRunning = true;
    view.nextTickMs = view.nowMs + FALL_INTERVAL_MS;
    armAlarm(view);
    return FALL_TIMER_RUNNING;
}

void stopFallTimer(void* context) {
    WebView& view = viewOf(context);
    view.timerRunning = false;
    view.page.clearFallAlarm(view.page.context);
}

void notifyGameOver(void* context) { viewOf(context).page.gameOver(viewOf(context).page.context); }

void requestRepaint(void* context) { requestFrame(viewOf(context)); }

void setScoreText(void* context, uint32_t label, const char* text) {
    if (label == SCORE_LABEL) viewOf(context).page.showScore(viewOf(context).page.context, text);
}

void setPreviewWord(void* context, uint32_t preview, uint32_t word) {
    WebView& view = viewOf(context);
    if (preview != PREVIEW) return;
    view.previewWord = word;
    requestFrame(view);
}

// Moves the next tick past nowMs in the timer's rhythm: the ticks that fell due meanwhile
// are dropped, as Windows delivers one late WM_TIMER however many periods passed.
void skipDueTicks(WebView& view) {
    if (view.nextTickMs > view.nowMs) return;
    int missed = static_cast<int>((view.nowMs - view.nextTickMs) / FALL_INTERVAL_MS);
    view.nextTickMs += (missed + 1) * static_cast<double>(FALL_INTERVAL_MS);
}

int32_t command(WebView& view, uint32_t code) {
    return applyGameCommand(view.state, view.host, code, 0);
}

}  // namespace

void startWebView(WebView& view, const PageOperations& page, double nowMs) {
    view = WebView{};
    view.page = page;
    view.nowMs = nowMs;
    view.host = GameHost{&view,          startFallTimer, stopFallTimer,  notifyGameOver,
                         requestRepaint, setScoreText,   setPreviewWord, nullptr};
    initGameState(view.state);
    applyGameCommand(view.state, view.host, CMD_SET_SCORE_LABEL, SCORE_LABEL);
    applyGameCommand(view.state, view.host, CMD_SET_PREVIEW, PREVIEW);
    requestFrame(view);
}

bool webKeyDown(WebView& view, uint32_t keyCode, double nowMs) {
    uint32_t code = 0;
    switch (keyCode) {
    case KEY_LEFT: code = CMD_MOVE_LEFT; break;
    case KEY_UP: code = CMD_ROTATE; break;
    case KEY_RIGHT: code = CMD_MOVE_RIGHT; break;
    case KEY_DOWN: code = CMD_STEP_DOWN; break;
    case KEY_F2: code = CMD_NEW_GAME; break;
    default: return false;
    }
    view.nowMs = nowMs;
    // A new game clears the controller's pause, so it too waits until the page lets go.
    if (!view.held) command(view, code);
    return true;
}

void webNewGame(WebView& view, double nowMs) { webKeyDown(view, KEY_F2, nowMs); }

void webFallAlarm(WebView& view, double nowMs) {
    view.nowMs = nowMs;
    if (!view.timerRunning || view.held) return;
    if (view.nextTickMs <= nowMs) {
        skipDueTicks(view);
        fallStep(view.state, view.host);
    }
    armAlarm(view);  // unless the step ended the game and stopped the timer
}

void webHold(WebView& view, bool held, double nowMs) {
    view.nowMs = nowMs;
    if (held == view.held) return;
    view.held = held;
    if (held) {
        command(view, CMD_PAUSE);
        view.page.clearFallAlarm(view.page.context);
        return;
    }
    command(view, CMD_RESUME);
    skipDueTicks(view);
    armAlarm(view);
}

void webPaint(WebView& view) {
    view.frameRequested = false;
    void* page = view.page.context;
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            view.page.fillCell(page, CanvasArea::Board, column, row,
                               boardCellShown(view.state, row, column));

    uint32_t kind = previewWordKind(view.previewWord);
    uint32_t rotation = previewWordRotation(view.previewWord);
    const char* next = piecePicture(static_cast<int>(kind), static_cast<int>(rotation));
    for (int row = 0; row < PICTURE_SIDE; ++row)
        for (int column = 0; column < PICTURE_SIDE; ++column)
            view.page.fillCell(page, CanvasArea::Preview, column, row,
                               pictureCellFilled(next, row, column));
}

int32_t webScore(WebView& view) { return command(view, CMD_GET_SCORE); }
