// The board view's window procedure: one game record per window, the fall timer, and the
// double-buffered paint of the board and the falling piece.
#include "win/board_view.h"

#include <new>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/rules/piece_table.h"
#include "win/board_colours.h"
#include "win/handle_words.h"

namespace {

// GameHost operations on the view whose handle is the context.
uint32_t startFallTimer(void* context) {
    return static_cast<uint32_t>(
        SetTimer(static_cast<HWND>(context), FALL_TIMER_ID, FALL_INTERVAL_MS, nullptr));
}

void stopFallTimer(void* context) { KillTimer(static_cast<HWND>(context), FALL_TIMER_ID); }

void notifyGameOver(void* context) {
    PostMessageW(GetParent(static_cast<HWND>(context)), WM_GAME_COMMAND, CMD_GAME_OVER, 0);
}

void requestRepaint(void* context) { InvalidateRect(static_cast<HWND>(context), nullptr, FALSE); }

// The game only ever passes decimal digits and a minus sign, the same in every code page.
void setScoreText(void*, uint32_t label, const char* text) {
    SetWindowTextA(handleFromWord<HWND>(label), text);
}

void setPreviewWord(void*, uint32_t preview, uint32_t word) {
    HWND window = handleFromWord<HWND>(preview);
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(word));
    InvalidateRect(window, nullptr, FALSE);
}

GameHost hostFor(HWND view) {
    return GameHost{view,           startFallTimer, stopFallTimer,  notifyGameOver,
                    requestRepaint, setScoreText,   setPreviewWord, nullptr};
}

void drawCell(HDC dc, int row, int column) {
    int left = column * CELL_PIXELS;
    int top = row * CELL_PIXELS;
    Rectangle(dc, left, top, left + CELL_PIXELS, top + CELL_PIXELS);
}

LRESULT onCreate(HWND view) {
    GameState* state = new (std::nothrow) GameState;
    if (state == nullptr) return -1;  // the window is not created without its record
    initGameState(*state);

    HDC screen = GetDC(nullptr);
    HDC offscreen = CreateCompatibleDC(screen);
    // From the screen's context, not the memory one, to get the screen's colour format.
    HBITMAP bitmap = CreateCompatibleBitmap(screen, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT);
    ReleaseDC(nullptr, screen);
    HPEN nullPen = CreatePen(PS_NULL, 0, BOARD_BLACK);
    HBRUSH fillBrush = CreateSolidBrush(CELL_YELLOW);

    SelectObject(offscreen, bitmap);
    SelectObject(offscreen, nullPen);
    SelectObject(offscreen, fillBrush);
    // The cell rectangles leave a 1-pixel grid unpainted; make it black like the board.
    PatBlt(offscreen, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, BLACKNESS);

    state->offscreenDC = wordFromHandle(offscreen);
    state->nullPen = wordFromHandle(nullPen);
    state->offscreenBitmap = wordFromHandle(bitmap);
    state->fillBrush = wordFromHandle(fillBrush);
    SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return 0;
}

// Draws the whole board and the falling piece off screen, then copies it in one blit.
void drawBoard(const GameState& state, HDC offscreen) {
    HBRUSH black = CreateSolidBrush(BOARD_BLACK);
    HBRUSH yellow = CreateSolidBrush(CELL_YELLOW);

    HGDIOBJ kept = SelectObject(offscreen, black);
    for (int column = 0; column < BOARD_COLUMNS; ++column) {
        for (int row = 0; row < BOARD_ROWS; ++row) {
            SelectObject(offscreen, state.cells[row][column] != 0 ? yellow : black);
            drawCell(offscreen, row, column);
        }
    }

    // Parts of the piece's box outside the bitmap are clipped by GDI; before the first
    // game the box lies wholly left of the board and nothing of it shows.
    SelectObject(offscreen, yellow);
    const char* picture = piecePicture(state.pieceKind, state.pieceRotation);
    for (int column = 0; column < PICTURE_SIDE; ++column) {
        for (int row = 0; row < PICTURE_SIDE; ++row) {
            if (pictureCellFilled(picture, row, column))
                drawCell(offscreen, state.pieceY + row, state.pieceX + column);
        }
    }

    SelectObject(offscreen, kept);
    DeleteObject(black);
    DeleteObject(yellow);
}

LRESULT onPaint(HWND view) {
    PAINTSTRUCT paint;
    HDC windowDC = BeginPaint(view, &paint);
    const GameState* state = boardViewState(view);
    if (state != nullptr) {
        HDC offscreen = handleFromWord<HDC>(state->offscreenDC);
        drawBoard(*state, offscreen);
        BitBlt(windowDC, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, offscreen, 0, 0, SRCCOPY);
    }
    EndPaint(view, &paint);
    return 0;
}

LRESULT onTimer(HWND view) {
    GameState* state = boardViewState(view);
    if (state != nullptr) fallStep(*state, hostFor(view));
    return 1;
}

LRESULT onGameCommand(HWND view, WPARAM code, LPARAM argument) {
    GameState* state = boardViewState(view);
    if (state == nullptr) return 1;
    // Window handles travel in lParam; they carry 32 significant bits.
    return applyGameCommand(*state, hostFor(view), static_cast<uint32_t>(code),
                            static_cast<uint32_t>(argument));
}

LRESULT onDestroy(HWND view) {
    GameState* state = boardViewState(view);
    if (state == nullptr) return 0;
    // Deleting the context first deselects the bitmap, pen and brush, so they can go.
    DeleteDC(handleFromWord<HDC>(state->offscreenDC));
    DeleteObject(handleFromWord<HPEN>(state->nullPen));
    DeleteObject(handleFromWord<HBITMAP>(state->offscreenBitmap));
    DeleteObject(handleFromWord<HBRUSH>(state->fillBrush));
    if (state->timerId != 0) KillTimer(view, FALL_TIMER_ID);
    SetWindowLongPtrW(view, GWLP_USERDATA, 0);
    delete state;
    return 0;
}

}  // namespace

GameState* boardViewState(HWND view) {
    return reinterpret_cast<GameState*>(GetWindowLongPtrW(view, GWLP_USERDATA));
}

LRESULT CALLBACK BoardViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(view);
    case WM_PAINT: return onPaint(view);
    case WM_TIMER: return onTimer(view);
    case WM_GAME_COMMAND: return onGameCommand(view, wParam, lParam);
    case WM_DESTROY: return onDestroy(view);
    default: return DefWindowProcW(view, message, wParam, lParam);
    }
}
