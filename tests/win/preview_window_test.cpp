// The preview window under Wine: black-framed cells with yellow interiors for the picture
// that its user-data word names, and no GDI object left behind by its paints.
#include <windows.h>

#include "win/child_window_classes.h"
#include "win/preview_window.h"
#include "win_test_support.h"

namespace {

HWND preview = nullptr;

void show(uint32_t word) {
    SetWindowLongPtrW(preview, GWLP_USERDATA, static_cast<LONG_PTR>(word));
    InvalidateRect(preview, nullptr, FALSE);
    UpdateWindow(preview);
}

// filled has one bit per cell, row by row from the top left (bit 15 down to bit 0). The
// pictures themselves are the piece table's, tested with it; here the word's halves.
void checkCells(unsigned filled) {
    HDC dc = GetDC(preview);
    for (int cell = 0; cell < 16; ++cell) {
        int x = cell % 4 * 20, y = cell / 4 * 20;
        uint32_t inside = (filled >> (15 - cell) & 1) != 0 ? RGB_YELLOW : RGB_BLACK;
        for (int at : {1, 9, 18}) CHECK_EQ(inside, rgbAt(dc, x + at, y + at));
        // The default pen frames every cell in black on its outermost pixels.
        for (int frame : {0, 19}) {
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x + frame, y + 9));
            CHECK_EQ(RGB_BLACK, rgbAt(dc, x + 9, y + frame));
        }
    }
    ReleaseDC(preview, dc);
}

void theWordNamesTheKindAndTheRotation() {
    // Unnotified, the word is 0: kind 0 in rotation 0, an L standing on its foot.
    checkCells(0b1000'1000'1100'0000);
    show(1u << 16 | 6u);  // the rotation is the high half: kind 6 lying flat
    checkCells(0b1111'0000'0000'0000);
    show(1u << 16);  // kind 0 turned once: its foot points up
    checkCells(0b0010'1110'0000'0000);
    // A word out of range shows an empty grid instead of reading outside the table.
    for (uint32_t word : {7u, 4u << 16, 0xFFFFFFFFu}) {
        show(word);
        checkCells(0);
    }
}

void paintsLeaveNoGdiObjectBehind() {
    show(2);
    long before = liveGdiObjects();
    for (int i = 0; i < 2000; ++i) show(static_cast<uint32_t>(i % 7));
    CHECK(before > 0);
    CHECK_EQ(before, liveGdiObjects());
}

}  // namespace

int main() {
    registerChildWindowClasses(GetModuleHandleW(nullptr));
    HWND host = createHostWindow(100, 100);
    preview = CreateWindowExW(0, PREVIEW_CLASS, PREVIEW_NAME, WS_CHILD | WS_VISIBLE, 10, 15,
                              PREVIEW_PIXEL_SIDE, PREVIEW_PIXEL_SIDE, host, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(host);
    pumpMessages();
    RUN_TEST(theWordNamesTheKindAndTheRotation);
    RUN_TEST(paintsLeaveNoGdiObjectBehind);
    return check::summary("preview_window_test");
}
