// The preview window under Wine: framed cells, yellow interiors of the picture named by
// the user-data word, full repaint without erase, and no GDI object left behind.
#include <windows.h>

#include "check.h"
#include "model/piece_table.h"
#include "win/child_window_classes.h"
#include "win/handle_words.h"
#include "win/preview_window.h"
#include "win_test_support.h"

namespace {

struct PreviewUnderTest {
    HWND host;
    HWND preview;
};

PreviewUnderTest createPreview() {
    PreviewUnderTest t;
    t.host = createHostWindow(100, 100);
    t.preview = CreateWindowExW(0, PREVIEW_CLASS, PREVIEW_NAME, WS_CHILD | WS_VISIBLE, 10, 15,
                                PREVIEW_PIXEL_SIDE, PREVIEW_PIXEL_SIDE, t.host, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(t.host);
    pumpMessages();
    return t;
}

void showWord(const PreviewUnderTest& t, uint32_t word) {
    SetWindowLongPtrW(t.preview, GWLP_USERDATA, static_cast<LONG_PTR>(word));
    InvalidateRect(t.preview, nullptr, FALSE);
    UpdateWindow(t.preview);
}

// filled[row][column]: which cells should have a yellow interior.
void checkCells(HWND preview, const bool filled[4][4]) {
    HDC dc = GetDC(preview);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            int x = column * 20;
            int y = row * 20;
            uint32_t inside = filled[row][column] ? RGB_YELLOW : RGB_BLACK;
            CHECK_EQ(inside, rgbAt(dc, x + 1, y + 1));
            CHECK_EQ(inside, rgbAt(dc, x + 9, y + 9));
            CHECK_EQ(inside, rgbAt(dc, x + 18, y + 18));
            // The default pen frames every cell in black on its outermost pixels.
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x, y + 9));
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x + 19, y + 9));
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x + 9, y));
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x + 9, y + 19));
        }
    }
    ReleaseDC(preview, dc);
}

void checkPicture(HWND preview, int kind, int rotation) {
    bool filled[4][4];
    const char* picture = piecePicture(kind, rotation);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            filled[row][column] = pictureCellFilled(picture, row, column);
    checkCells(preview, filled);
}

void anUnnotifiedPreviewShowsKindZeroInRotationZero() {
    PreviewUnderTest t = createPreview();
    CHECK_EQ(0, GetWindowLongPtrW(t.preview, GWLP_USERDATA));
    const bool expected[4][4] = {{true, false, false, false},
                                 {true, false, false, false},
                                 {true, true, false, false},
                                 {false, false, false, false}};
    checkCells(t.preview, expected);
    DestroyWindow(t.host);
}

void theHighHalfIsTheRotationAndTheLowHalfTheKind() {
    PreviewUnderTest t = createPreview();
    showWord(t, (1u << 16) | 6u);
    const bool topRow[4][4] = {{true, true, true, true}, {}, {}, {}};
    checkCells(t.preview, topRow);
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation) {
            showWord(t, (static_cast<uint32_t>(rotation) << 16) | static_cast<uint32_t>(kind));
            checkPicture(t.preview, kind, rotation);
        }
    }
    DestroyWindow(t.host);
}

void aWordOutOfRangeShowsAnEmptyGrid() {
    PreviewUnderTest t = createPreview();
    const bool empty[4][4] = {};
    for (uint32_t word : {7u, 4u << 16, 0xFFFFFFFFu}) {
        showWord(t, word);
        checkCells(t.preview, empty);
    }
    DestroyWindow(t.host);
}

void manyPaintsLeaveNoGdiObjectBehind() {
    PreviewUnderTest t = createPreview();
    showWord(t, 2);
    long countBefore = liveGdiObjects();
    for (int i = 0; i < 2000; ++i) showWord(t, static_cast<uint32_t>(i % 7));
    long countAfter = liveGdiObjects();
    CHECK(countBefore > 0);
    CHECK_EQ(countBefore, countAfter);
    std::printf("live GDI objects: %ld before, %ld after the paints\n", countBefore, countAfter);
    DestroyWindow(t.host);
}

}  // namespace

int main() {
    buildPieceTable();
    if (!registerChildWindowClasses(GetModuleHandleW(nullptr))) {
        std::printf("cannot register the child window classes\n");
        return 1;
    }
    RUN_TEST(anUnnotifiedPreviewShowsKindZeroInRotationZero);
    RUN_TEST(theHighHalfIsTheRotationAndTheLowHalfTheKind);
    RUN_TEST(aWordOutOfRangeShowsAnEmptyGrid);
    RUN_TEST(manyPaintsLeaveNoGdiObjectBehind);
    return check::summary("preview_window_test");
}
