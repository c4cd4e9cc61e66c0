// The terminal edition's one link to the game library: it owns the game record and its
// host, hands ticks and keys to the controller and reads back what the screen shows.
// Nothing else in tui/ includes a game-library header.
#pragma once

#include <cstdint>

constexpr int TUI_BOARD_COLUMNS = 10;
constexpr int TUI_BOARD_ROWS = 20;
constexpr int TUI_PREVIEW_SIDE = 4;
constexpr int TUI_FALL_INTERVAL_MS = 500;

struct TuiGame;

enum class GameInput { NewGame, MoveLeft, MoveRight, Turn, StepDown };

// What the screen draws: the board with the falling piece, the preview as the model last
// announced it, the score label's text.
struct GamePicture {
    bool board[TUI_BOARD_ROWS][TUI_BOARD_COLUMNS];
    bool preview[TUI_PREVIEW_SIDE][TUI_PREVIEW_SIDE];
    char scoreText[16];
};

// A record linked to the stand-in score label and preview, as the Windows main window
// links its own at its creation, with a host of its own.
TuiGame* createTuiGame();
void destroyTuiGame(TuiGame* game);

// Every call takes the current time of a monotonic clock, for the fall timer.
void applyGameInput(TuiGame& game, GameInput input, int64_t nowMs);
// Runs the fall step whose time has come; however many intervals passed, one step, and
// the ticks missed meanwhile are skipped, as a Windows timer does not queue them.
void runDueFallTicks(TuiGame& game, int64_t nowMs);
// Pauses or resumes the controller; resuming keeps the fall timer's rhythm.
void holdGame(TuiGame& game, bool held, int64_t nowMs);

bool fallTimerRunning(const TuiGame& game);
int64_t nextFallTickMs(const TuiGame& game);  // meaningful while the timer runs

// True once after each game over, for the best-result check.
bool takeGameOver(TuiGame& game);
// True when the model asked for a repaint or changed the label or preview since last asked.
bool takeRepaintRequest(TuiGame& game);

int32_t gameScore(TuiGame& game);
void readGamePicture(const TuiGame& game, GamePicture& picture);

// For tests: the falling piece and the preview's word halves.
struct FallingPiece {
    int kind, rotation, column, row;
    int previewKind, previewRotation;
};
FallingPiece readFallingPiece(const TuiGame& game);
