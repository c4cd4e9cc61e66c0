// Start-up and the message loop: everything WinMain does.
#include "win/kostrel_startup.h"

#include <commctrl.h>

#include "win/child_window_classes.h"
#include "win/main_window.h"

int runKostrel(HINSTANCE instance, int showCommand) {
    InitCommonControls();
    if (!registerMainWindowClass(instance)) return 0;
    if (!registerChildWindowClasses(instance)) return 0;
    if (createMainWindow(showCommand) == nullptr) return 0;
    return runMessageLoop();
}

int runMessageLoop() {
    MSG message;
    for (;;) {
        BOOL fetched = GetMessageW(&message, nullptr, 0, 0);
        if (fetched == 0) return static_cast<int>(message.wParam);
        if (fetched == -1) return 0;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
