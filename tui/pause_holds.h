// The things that hold the game still. The game runs only while none holds, and each is
// released only by its own cause: `p` by `p`, the focus pause by the focus coming back,
// the overlay by closing it, the size by a large enough terminal.
#pragma once

struct PauseHolds {
    bool player = false;    // toggled by `p`; also set by a suspend (Ctrl-Z)
    bool focus = false;     // the terminal reported that it lost the focus
    bool overlay = false;   // a message or the name prompt is open
    bool tooSmall = false;  // the terminal is smaller than the screen needs
};

inline bool gameHeld(const PauseHolds& holds) {
    return holds.player || holds.focus || holds.overlay || holds.tooSmall;
}
