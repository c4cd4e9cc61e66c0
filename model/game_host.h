// What the controller needs from the view that runs a game: the fall timer, the game-over
// notice and repaints. A record of callbacks sharing one context pointer.
#pragma once

#include <cstdint>

struct GameHost {
    void* context;
    uint32_t (*startFallTimer)(void* context);  // nonzero when the timer runs; restarts it
    void (*stopFallTimer)(void* context);
    void (*notifyGameOver)(void* context);      // queued, handled after the step returns
    void (*requestRepaint)(void* context);      // whole view, no erase; requests coalesce
};
