// The game model's two window operations, made with real Win32 calls.
#include "win/window_notifier_win32.h"

#include <windows.h>

#include "model/window_notifier.h"
#include "win/handle_words.h"

namespace {

// The model only ever passes decimal digits and a minus sign, the same in every code page.
void setWindowText(uint32_t window, const char* text) {
    SetWindowTextA(handleFromWord<HWND>(window), text);
}

void setPreviewWord(uint32_t window, uint32_t word) {
    HWND preview = handleFromWord<HWND>(window);
    SetWindowLongPtrW(preview, GWLP_USERDATA, static_cast<LONG_PTR>(word));
    InvalidateRect(preview, nullptr, FALSE);
}

}  // namespace

void installWin32WindowNotifier() { installWindowNotifier({setWindowText, setPreviewWord}); }
