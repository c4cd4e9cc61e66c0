// Everything a running game does to the world outside its record goes through the host of
// the view that shows it: the fall timer, the game-over notice, repaints, the score text
// and the preview word, where the next piece's kind comes from, and the start of a game. A record
// of callbacks sharing one context pointer, one per view, so two games never reach each other's
// windows.
#pragma once

#include <cstdint>

#include "model/rules/game_state.h"

// Names the kind of the piece after `fallingKind`, which has just started to fall on
// `state`'s grid.
using NextKindSource = int32_t (*)(void* context, const GameState& state, int32_t fallingKind);

struct GameHost {
    void* context;
    uint32_t (*startFallTimer)(void* context);  // nonzero when the timer runs; restarts it
    void (*stopFallTimer)(void* context);
    void (*notifyGameOver)(void* context);  // queued, handled after the step returns
    void (*requestRepaint)(void* context);  // whole view, no erase; requests coalesce
    // The record's nonzero scoreLabel word with the score as decimal text.
    void (*setScoreText)(void* context, uint32_t label, const char* text);
    // The record's nonzero previewWindow word with the packed preview word.
    void (*setPreviewWord)(void* context, uint32_t preview, uint32_t word);
    // Null for the adversarial chooser of the Windows program.
    NextKindSource nextKind;
    // Called by newGame before it asks for the game's first next kind, so that a source
    // that remembers its game can forget the last one. Null when nothing needs to know.
    void (*startingGame)(void* context) = nullptr;
};
