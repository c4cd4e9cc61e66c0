// The installed window notifier; a silent one until the front end installs its own.
#include "model/window_notifier.h"

namespace {

void ignoreText(uint32_t, const char*) {}
void ignoreWord(uint32_t, uint32_t) {}

WindowNotifier installed = {ignoreText, ignoreWord};

}  // namespace

void installWindowNotifier(const WindowNotifier& notifier) { installed = notifier; }

void notifyWindowText(uint32_t window, const char* text) {
    if (window != 0) installed.setWindowText(window, text);
}

void notifyPreviewWord(uint32_t window, uint32_t word) {
    if (window != 0) installed.setPreviewWord(window, word);
}
