// Times the board view's and the preview's paints and a key's trip to the board view under
// Wine: kostrel-win-bench [paints]. Prints microseconds per operation.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "model/game/game_command.h"
#include "model/rules/piece_table.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/main_window.h"
#include "win/preview_window.h"

namespace {

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double microsecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <typename Operation>
void timeIt(const char* what, int count, Operation operation) {
    operation();  // warm up caches and the window surface
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) operation();
    std::printf("%-46s %9.1f us  (%d runs)\n", what, microsecondsSince(start) / count, count);
}

}  // namespace

int main(int argc, char** argv) {
    int paints = argc > 1 ? std::atoi(argv[1]) : 2000;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerMainWindowClass(instance);
    registerChildWindowClasses(instance);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    // The window with its children, shown and painted once (UpdateWindow inside).
    HWND main = createMainWindow(SW_SHOWNORMAL);
    std::printf("%-46s %9.1f us  (first window of the process)\n",
                "main window created, shown and painted", microsecondsSince(start));
    HWND view = FindWindowExW(main, nullptr, BOARD_VIEW_CLASS, BOARD_VIEW_NAME);
    HWND preview = FindWindowExW(FindWindowExW(main, nullptr, L"Button", L"Další"), nullptr,
                                 PREVIEW_CLASS, PREVIEW_NAME);
    pumpMessages();
    GameState* state = boardViewState(view);
    if (state == nullptr || preview == nullptr) return 1;

    auto paintBoard = [view] {
        InvalidateRect(view, nullptr, FALSE);
        UpdateWindow(view);
    };
    timeIt("board paint, empty board, no game", paints, paintBoard);
    timeIt("new game (clears, chooses the next piece)", 200,
           [view] { SendMessageW(view, WM_GAME_COMMAND, CMD_NEW_GAME, 0); });
    for (int row = 10; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            state->cells[row][column] = (row + column) % 3 != 0 ? FILLED_CELL : 0;
    timeIt("board paint, half-filled board and piece", paints, paintBoard);
    timeIt("preview paint", paints, [preview] {
        InvalidateRect(preview, nullptr, FALSE);
        UpdateWindow(preview);
    });
    // Each run sends two keys, Left then Right, so the piece stays where it is.
    timeIt("two keys handled (Left, Right), no paint", paints, [main] {
        SendMessageW(main, WM_KEYDOWN, VK_LEFT, 0);
        SendMessageW(main, WM_KEYDOWN, VK_RIGHT, 0);
    });
    timeIt("two keys, each followed by its repaint", paints, [main, view] {
        SendMessageW(main, WM_KEYDOWN, VK_LEFT, 0);
        UpdateWindow(view);
        SendMessageW(main, WM_KEYDOWN, VK_RIGHT, 0);
        UpdateWindow(view);
    });
    return 0;
}
