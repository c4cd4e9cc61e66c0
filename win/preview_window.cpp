// The preview window's procedure: paints the 4 x 4 picture named by its user-data word
// straight into the window, each cell framed by the default black pen.
#include "win/preview_window.h"

#include <cstdint>

#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "win/board_colours.h"

namespace {

constexpr int CELL = PREVIEW_PIXEL_SIDE / PICTURE_SIDE;

void paintPreview(HWND preview) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(preview, &paint);
    uint32_t word = static_cast<uint32_t>(GetWindowLongPtrW(preview, GWLP_USERDATA));
    uint32_t kind = previewWordKind(word);
    uint32_t rotation = previewWordRotation(word);
    // Only in-range words are ever stored; anything else shows an empty grid rather than
    // reading outside the piece table.
    const char* picture = kind < PIECE_KINDS && rotation < PIECE_ROTATIONS
                              ? piecePicture(static_cast<int>(kind), static_cast<int>(rotation))
                              : nullptr;

    HBRUSH black = CreateSolidBrush(BOARD_BLACK);
    HBRUSH yellow = CreateSolidBrush(CELL_YELLOW);
    HGDIOBJ kept = SelectObject(dc, black);
    for (int column = 0; column < PICTURE_SIDE; ++column) {
        for (int row = 0; row < PICTURE_SIDE; ++row) {
            bool filled = picture != nullptr && pictureCellFilled(picture, row, column);
            SelectObject(dc, filled ? yellow : black);
            Rectangle(dc, column * CELL, row * CELL, column * CELL + CELL, row * CELL + CELL);
        }
    }
    SelectObject(dc, kept);
    DeleteObject(black);
    DeleteObject(yellow);
    EndPaint(preview, &paint);
}

}  // namespace

LRESULT CALLBACK PreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: paintPreview(preview); break;
    default: break;
    }
    return DefWindowProcW(preview, message, wParam, lParam);
}
