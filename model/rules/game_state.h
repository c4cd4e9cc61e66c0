// The record of one game: grid, falling and next piece, pause flag, score, and the
// window-system handles of the view that shows it, as opaque 32-bit words.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/rules/board.h"

constexpr int GAME_STATE_WORDS = 215;

struct GameState {
    uint32_t cells[BOARD_ROWS][BOARD_COLUMNS];  // row 0 at the top; 0 empty, nonzero filled
    int32_t pieceX;         // column of the falling piece's box; -10 before the first game
    int32_t pieceY;         // row of the falling piece's box
    int32_t pieceKind;      // 0..6
    int32_t pieceRotation;  // 0..3
    int32_t nextKind;       // 0..6, shown in the preview
    int32_t nextRotation;   // 0..3, the rotation the next piece arrives in
    uint8_t paused;         // 0 or 1; only this low byte of its 32-bit slot is used
    uint8_t pausedSlotRest[3];
    int32_t score;             // rows removed in this game
    uint32_t offscreenDC;      // the view's memory device context
    uint32_t nullPen;          // PS_NULL pen kept selected in offscreenDC
    uint32_t offscreenBitmap;  // 200 x 400 bitmap kept selected in offscreenDC
    uint32_t fillBrush;        // yellow brush kept selected in offscreenDC between paints
    uint32_t timerId;          // nonzero while a game runs
    uint32_t scoreLabel;       // window that shows the score text; 0 = none
    uint32_t previewWindow;    // window told about each new next piece; 0 = none
};

// The record is copied whole by the chooser and shared with the window side word for word,
// so its layout is fixed.
static_assert(sizeof(GameState) == GAME_STATE_WORDS * 4, "GameState is 215 32-bit words");
static_assert(offsetof(GameState, pieceX) == 200 * 4, "pieceX is word 200");
static_assert(offsetof(GameState, paused) == 206 * 4, "paused is word 206");
static_assert(offsetof(GameState, offscreenDC) == 208 * 4, "offscreenDC is word 208");
static_assert(offsetof(GameState, previewWindow) == 214 * 4, "previewWindow is word 214");
