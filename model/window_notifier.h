// The two ways the game model reaches the window system: the score label's text and the
// preview's word. The front end installs real calls; without one they do nothing.
#pragma once

#include <cstdint>

struct WindowNotifier {
    // Sets the window text of a label (the game passes only ASCII digits and '-').
    void (*setWindowText)(uint32_t window, const char* text);
    // Stores the preview word as the window's user data, then invalidates it without erase.
    void (*setPreviewWord)(uint32_t window, uint32_t word);
};

// Installs the process-wide notifier; both operations must be set.
void installWindowNotifier(const WindowNotifier& notifier);

// Called by the model; only for a nonzero window.
void notifyWindowText(uint32_t window, const char* text);
void notifyPreviewWord(uint32_t window, uint32_t word);
