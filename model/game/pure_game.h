// A game as a value, for searches and replays: the grid, the falling and the next piece, the
// random state, the score and the adversary's memory, moved on by a pure step that places
// the falling piece and brings in the next, exactly as the controller does. Many such games
// can be played at once, on any thread: nothing here touches the process-wide random source.
#pragma once

#include <cstdint>

#include "chooser/adversary.h"
#include "model/game/game_start.h"
#include "model/rules/row_masks.h"

struct PureGame {
    MaskBoard board;
    int32_t kind;          // the falling piece, which enters at the spawn point
    int32_t rotation;      // the rotation it enters in
    int32_t nextKind;      // the preview
    int32_t nextRotation;  //
    uint32_t random;       // GameRandom's state
    int32_t score;         // rows removed
    int64_t pieces;        // pieces fixed
    bool over;             // the falling piece does not fit where it enters; nothing moves
    Adversary adversary;
    AdversaryMemory memory;
};

// The game that newGame starts from `start`, with the same draws.
PureGame startPureGame(const GameStart& start, Adversary adversary);

// What fixing the falling piece with its box at (x, y) in `rotation` leads to, worked out
// without changing the game. The piece must rest there: it fits, and one row down it does
// not.
struct PureStep {
    MaskBoard board;       // after the lock and the row removal
    int32_t rows;          // removed by this piece
    uint32_t removed;      // which: bit r for row r of the board before the removal
    int32_t nextKind;      // the adversary's pick for the new preview
    int32_t nextRotation;  // drawn for it
    uint32_t random;       // the state after the step's draws
    bool over;             // the new falling piece does not fit
};
PureStep planStep(const PureGame& game, int x, int y, int rotation);

// planStep in two halves, for a search that judges many steps and goes on with few. The
// first fixes the piece: the board, the rows and whether the game ends (which the pick does
// not change); the preview and the random state are still the game's.
PureStep fixPiece(const PureGame& game, int x, int y, int rotation);
// The second: the adversary's pick for the new preview and the draw of its rotation.
void drawNext(const PureGame& game, PureStep& step);

// Moves the game on by a step that planStep gave for it.
void applyStep(PureGame& game, const PureStep& step);

// Both at once.
void placeAndAdvance(PureGame& game, int x, int y, int rotation);

// Where the next game starts once this one is over: the state and the pending piece.
GameStart nextGameStart(const PureGame& game);
