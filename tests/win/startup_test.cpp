// Start-up as WinMain runs it, under Wine: the main window comes up, WM_CLOSE ends the
// message loop with exit code 0 and leaves the windows to the system, and a start-up that
// cannot register its classes ends at once with 0.
#include <windows.h>

#include "check.h"
#include "win/kostrel_startup.h"
#include "win/main_window.h"
#include "win_test_support.h"

namespace {

HWND seenMainWindow = nullptr;
UINT_PTR closeTimer = 0;

// Runs inside runKostrel's own message loop.
void CALLBACK closeMainWindow(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, closeTimer);
    seenMainWindow = FindWindowW(MAIN_WINDOW_CLASS, L"Kostrel");
    PostMessageW(seenMainWindow, WM_CLOSE, 0, 0);
}

int countMainWindows() {
    int count = 0;
    for (HWND window = FindWindowExW(nullptr, nullptr, MAIN_WINDOW_CLASS, nullptr);
         window != nullptr; window = FindWindowExW(nullptr, window, MAIN_WINDOW_CLASS, nullptr))
        ++count;
    return count;
}

void closeEndsTheProgramWithExitCodeZero() {
    closeTimer = SetTimer(nullptr, 0, 100, closeMainWindow);
    CHECK_EQ(0, runKostrel(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    CHECK(seenMainWindow != nullptr);
    CHECK(IsWindow(seenMainWindow));
    CHECK(IsWindowVisible(seenMainWindow));
    CHECK_EQ(1, countMainWindows());
}

void aFailedStartUpEndsAtOnceWithZero() {
    // The classes are registered already, so registration fails: no second window, no loop.
    CHECK_EQ(0, runKostrel(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    CHECK_EQ(1, countMainWindows());
}

}  // namespace

int main() {
    RUN_TEST(closeEndsTheProgramWithExitCodeZero);
    RUN_TEST(aFailedStartUpEndsAtOnceWithZero);
    return check::summary("startup_test");
}
