// The game's two child windows under Wine, side by side in one host. The board view: the
// off-screen bitmap after a paint, game over, and its drawing objects.
// The preview: black-framed cells with yellow interiors for the picture that its user-data
// word names. Neither leaves a GDI object behind its paints.
#include <windows.h>
#include <winternl.h>

#include <cstring>
#include <vector>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/rules/piece_table.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/handle_words.h"
#include "win/preview_window.h"
#include "win_test_support.h"

namespace {

constexpr uint32_t RGB_BLACK = 0x000000;
constexpr uint32_t RGB_YELLOW = 0xFFFF00;
constexpr uint32_t RGB_MAGENTA = 0xFF00FF;  // pre-fill: marks pixels nothing painted

// The pixel at (x, y) as 0x00RRGGBB, and a fill of the rectangle from (0, 0).
uint32_t rgbAt(HDC dc, int x, int y) {
    COLORREF pixel = GetPixel(dc, x, y);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

void fillRgb(HDC dc, int width, int height, uint32_t rgb) {
    HBRUSH brush = CreateSolidBrush(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Wine's GetGuiResources counts nothing (its ntdll exports wine_get_version), so under Wine
// this counts the used entries of its GDI handle table, which the process environment block
// points to (GdiSharedHandleTable, at 0x94 in a 32-bit process's block and 0xF8 in a 64-bit
// one's): 0x4000 entries of 24 bytes in either (GDI_HANDLE_ENTRY in Wine's ntgdi.h holds
// 64-bit pointers), the type at byte 14. The block's address comes from
// NtQueryInformationProcess, which needs no segment-register intrinsic.
long liveGdiObjects() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (GetProcAddress(ntdll, "wine_get_version") == nullptr)
        return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    FARPROC found = GetProcAddress(ntdll, "NtQueryInformationProcess");
    QueryProcess query = nullptr;
    std::memcpy(&query, &found, sizeof query);  // one function pointer type to another
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    constexpr size_t TABLE_FIELD = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const uint8_t* table = nullptr;
    std::memcpy(&table, peb + TABLE_FIELD, sizeof table);
    if (table == nullptr) return -1;
    long used = 0;
    for (int i = 0; i < 0x4000; ++i) used += table[i * 24 + 14] != 0;
    return used;
}

// The WM_GAME_COMMAND codes that reached the host window, to which the board view posts.
std::vector<uint32_t> hostCommands;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GAME_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
    hostCommands.push_back(static_cast<uint32_t>(wParam));
    return 1;
}

// A visible top-level window that records the commands reaching it.
HWND createHostWindow(int width, int height) {
    WNDCLASSEXW hostClass = {};
    hostClass.cbSize = sizeof hostClass;
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    hostClass.lpszClassName = L"KostrelTestHost";
    RegisterClassExW(&hostClass);  // fails harmlessly when registered already
    hostCommands.clear();
    return CreateWindowExW(0, L"KostrelTestHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND host = nullptr;
HWND view = nullptr;
GameState* state = nullptr;
HDC offscreen = nullptr;
HWND preview = nullptr;

void createView() {
    host = createHostWindow(340, 440);
    view = CreateWindowExW(0, BOARD_VIEW_CLASS, BOARD_VIEW_NAME, WS_CHILD | WS_VISIBLE, 20, 30,
                           BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, host, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    preview = CreateWindowExW(0, PREVIEW_CLASS, PREVIEW_NAME, WS_CHILD | WS_VISIBLE, 240, 15,
                              PREVIEW_PIXEL_SIDE, PREVIEW_PIXEL_SIDE, host, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    state = boardViewState(view);
    offscreen = handleFromWord<HDC>(state->offscreenDC);
    UpdateWindow(host);
    pumpMessages();
}

LRESULT command(uint32_t code, LPARAM argument = 0) {
    return SendMessageW(view, WM_GAME_COMMAND, code, argument);
}

bool repaintPending() { return GetUpdateRect(view, nullptr, FALSE) != FALSE; }

bool pieceCovers(int row, int column) {
    int boxRow = row - state->pieceY, boxColumn = column - state->pieceX;
    return boxRow >= 0 && boxRow < PICTURE_SIDE && boxColumn >= 0 && boxColumn < PICTURE_SIDE &&
           pictureCellFilled(piecePicture(state->pieceKind, state->pieceRotation), boxRow,
                             boxColumn);
}

// Each cell is a 19 x 19 square, yellow where the grid or the falling piece has it and
// black elsewhere; the 20th column and row keep what the bitmap held (gridColour).
void checkBoardPixels(uint32_t gridColour) {
    const int inside[][2] = {{0, 0}, {9, 9}, {18, 18}, {18, 0}};
    const int grid[][2] = {{19, 9}, {9, 19}, {19, 19}};
    for (int row = 0; row < BOARD_ROWS; ++row) {
        for (int column = 0; column < BOARD_COLUMNS; ++column) {
            int x = column * CELL_PIXELS, y = row * CELL_PIXELS;
            bool yellow = state->cells[row][column] != 0 || pieceCovers(row, column);
            for (const auto& p : inside)
                CHECK_EQ(yellow ? RGB_YELLOW : RGB_BLACK, rgbAt(offscreen, x + p[0], y + p[1]));
            for (const auto& p : grid) CHECK_EQ(gridColour, rgbAt(offscreen, x + p[0], y + p[1]));
        }
    }
}

// Paints over a magenta bitmap, so that the grid lines show what the paint left alone.
void paintAndCheck() {
    fillRgb(offscreen, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, RGB_MAGENTA);
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
    checkBoardPixels(RGB_MAGENTA);
}

// The controller's rules are tested natively, and the end-to-end test watches the board,
// the preview and the label through a whole game and the next. Here what it cannot see:
// the board before the first game, the grid lines that a paint leaves alone, and the
// game's end: the timer killed, the parent told once.
void aGameIsDrawnAndItsEndPostedOnce() {
    createView();
    checkBoardPixels(RGB_BLACK);  // the fresh bitmap is black, grid lines included
    SendMessageW(view, WM_TIMER, FALL_TIMER_ID, 0);  // before the first game nothing moves
    CHECK(!repaintPending());
    paintAndCheck();  // the piece's box lies left of the board: nothing of it shows

    command(CMD_NEW_GAME);
    CHECK(state->timerId != 0);
    state->cells[19][0] = state->cells[0][9] = state->cells[10][5] = FILLED_CELL;
    state->cells[19][9] = 1;  // any nonzero cell is filled
    paintAndCheck();

    // Rows 3 to 19 filled but for column 9: the piece settles, the next one has no room.
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            state->cells[row][column] = row >= 3 && column < 9 ? FILLED_CELL : 0;
    command(CMD_STEP_DOWN);
    CHECK_EQ(0u, state->timerId);
    CHECK(!KillTimer(view, FALL_TIMER_ID));
    CHECK(hostCommands.empty());  // posted, not sent
    SendMessageW(view, WM_TIMER, FALL_TIMER_ID, 0);
    command(CMD_STEP_DOWN);
    pumpMessages();
    CHECK_EQ(std::vector<uint32_t>{CMD_GAME_OVER}, hostCommands);
    DestroyWindow(host);
}

void show(uint32_t word) {
    SetWindowLongPtrW(preview, GWLP_USERDATA, static_cast<LONG_PTR>(word));
    InvalidateRect(preview, nullptr, FALSE);
    UpdateWindow(preview);
}

// filled has one bit per cell, row by row from the top left (bit 15 down to bit 0). The
// pictures are the piece table's, tested with it; the end-to-end test reads the preview of
// every piece of its game.
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

// The preview unnotified and out of range; the board view's objects through 3000 paints of
// both windows, and after the view.
void thePreviewAndTheBoardDrawWithoutLeaking() {
    createView();
    // Unnotified, the word is 0: kind 0 in rotation 0, an L standing on its foot.
    checkCells(0b1000'1000'1100'0000);
    // A word out of range shows an empty grid instead of reading outside the table.
    for (uint32_t word : {7u, 4u << 16, 0xFFFFFFFFu}) {
        show(word);
        checkCells(0);
    }

    command(CMD_NEW_GAME);
    HGDIOBJ objects[] = {offscreen, handleFromWord<HGDIOBJ>(state->nullPen),
                         handleFromWord<HGDIOBJ>(state->offscreenBitmap),
                         handleFromWord<HGDIOBJ>(state->fillBrush)};
    const DWORD types[] = {OBJ_MEMDC, OBJ_PEN, OBJ_BITMAP, OBJ_BRUSH};
    for (int i = 0; i < 4; ++i) CHECK_EQ(types[i], GetObjectType(objects[i]));

    state->cells[19][3] = FILLED_CELL;
    UpdateWindow(view);
    show(2);
    long before = liveGdiObjects();
    for (int i = 0; i < 3000; ++i) {
        InvalidateRect(view, nullptr, FALSE);
        UpdateWindow(view);
        show(static_cast<uint32_t>(i % 7));
    }
    CHECK(before > 0);
    CHECK_EQ(before, liveGdiObjects());

    DestroyWindow(view);
    // A PS_NULL pen is the system's stock null pen, which deleting leaves alone.
    for (HGDIOBJ object : objects)
        if (object != GetStockObject(NULL_PEN)) CHECK_EQ(0, GetObjectType(object));
    DestroyWindow(host);
}

}  // namespace

int main() {
    registerChildWindowClasses(GetModuleHandleW(nullptr));
    RUN_TEST(aGameIsDrawnAndItsEndPostedOnce);
    RUN_TEST(thePreviewAndTheBoardDrawWithoutLeaking);
    return check::summary("child_windows_test");
}
