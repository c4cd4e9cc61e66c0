// The host and the two stand-in windows of the terminal edition's one board view.
#include "tui/tui_game.h"

#include <cstdio>
#include <cstring>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"

static_assert(TUI_BOARD_COLUMNS == BOARD_COLUMNS && TUI_BOARD_ROWS == BOARD_ROWS,
              "the screen's board is the game's");
static_assert(TUI_PREVIEW_SIDE == PICTURE_SIDE, "the preview shows one piece picture");
static_assert(TUI_FALL_INTERVAL_MS == FALL_INTERVAL_MS, "the same fall speed");

namespace {

// Nonzero handle words of the stand-in windows, as the record keeps them.
constexpr uint32_t SCORE_LABEL_WINDOW = 1;
constexpr uint32_t PREVIEW_WINDOW = 2;
constexpr uint32_t FALL_TIMER_RUNNING = 1;

}  // namespace

struct TuiGame {
    GameState state;
    GameHost host;
    int64_t nowMs = 0;
    int64_t nextTickMs = 0;
    bool timerRunning = false;
    bool gameOver = false;
    bool repaint = true;
    char scoreText[16] = "0";  // the label's text before the first game, as on Windows
    uint32_t previewWord = 0;  // kind 0 in rotation 0 until the first notice
};

namespace {

uint32_t startFallTimer(void* context) {
    TuiGame& game = *static_cast<TuiGame*>(context);
    game.timerRunning = true;
    game.nextTickMs = game.nowMs + FALL_INTERVAL_MS;
    return FALL_TIMER_RUNNING;
}

void stopFallTimer(void* context) { static_cast<TuiGame*>(context)->timerRunning = false; }
void notifyGameOver(void* context) { static_cast<TuiGame*>(context)->gameOver = true; }
void requestRepaint(void* context) { static_cast<TuiGame*>(context)->repaint = true; }

// The record's label and preview words name the stand-ins; any other word is none of ours.
void setStandInText(void* context, uint32_t label, const char* text) {
    TuiGame& game = *static_cast<TuiGame*>(context);
    if (label != SCORE_LABEL_WINDOW) return;
    std::snprintf(game.scoreText, sizeof game.scoreText, "%s", text);
    game.repaint = true;
}

void setStandInPreview(void* context, uint32_t preview, uint32_t word) {
    TuiGame& game = *static_cast<TuiGame*>(context);
    if (preview != PREVIEW_WINDOW) return;
    game.previewWord = word;
    game.repaint = true;
}

int32_t command(TuiGame& game, uint32_t code, uint32_t argument = 0) {
    return applyGameCommand(game.state, game.host, code, argument);
}

}  // namespace

TuiGame* createTuiGame() {
    TuiGame* game = new TuiGame;
    // A null next-kind source: the adversarial chooser, as every player gets.
    game->host = GameHost{game,           startFallTimer, stopFallTimer,     notifyGameOver,
                          requestRepaint, setStandInText, setStandInPreview, nullptr};
    initGameState(game->state);
    command(*game, CMD_SET_SCORE_LABEL, SCORE_LABEL_WINDOW);
    command(*game, CMD_SET_PREVIEW, PREVIEW_WINDOW);
    return game;
}

void destroyTuiGame(TuiGame* game) { delete game; }

void applyGameInput(TuiGame& game, GameInput input, int64_t nowMs) {
    game.nowMs = nowMs;
    switch (input) {
    case GameInput::NewGame: command(game, CMD_NEW_GAME); break;
    case GameInput::MoveLeft: command(game, CMD_MOVE_LEFT); break;
    case GameInput::MoveRight: command(game, CMD_MOVE_RIGHT); break;
    case GameInput::Turn: command(game, CMD_ROTATE); break;
    case GameInput::StepDown: command(game, CMD_STEP_DOWN); break;
    }
}

namespace {

// Moves the next tick past nowMs in the timer's rhythm: the ticks that fell due meanwhile
// are dropped, as a Windows timer delivers one late WM_TIMER however many intervals passed.
void skipDueTicks(TuiGame& game, int64_t nowMs) {
    if (game.nextTickMs > nowMs) return;
    game.nextTickMs += ((nowMs - game.nextTickMs) / FALL_INTERVAL_MS + 1) * FALL_INTERVAL_MS;
}

}  // namespace

void runDueFallTicks(TuiGame& game, int64_t nowMs) {
    game.nowMs = nowMs;
    if (!game.timerRunning || game.nextTickMs > nowMs) return;
    // One step however late: after a stop from outside or a sleeping machine the piece
    // must not race down the rows it missed.
    skipDueTicks(game, nowMs);
    fallStep(game.state, game.host);
}

void holdGame(TuiGame& game, bool held, int64_t nowMs) {
    game.nowMs = nowMs;
    if (held) {
        command(game, CMD_PAUSE);
        return;
    }
    command(game, CMD_RESUME);
    // The ticks that fell due while held were ignored by the controller; the next one comes
    // in the timer's old rhythm.
    if (game.timerRunning) skipDueTicks(game, nowMs);
}

bool fallTimerRunning(const TuiGame& game) { return game.timerRunning; }

int64_t nextFallTickMs(const TuiGame& game) { return game.nextTickMs; }

bool takeGameOver(TuiGame& game) {
    bool over = game.gameOver;
    game.gameOver = false;
    return over;
}

bool takeRepaintRequest(TuiGame& game) {
    bool repaint = game.repaint;
    game.repaint = false;
    return repaint;
}

int32_t gameScore(TuiGame& game) { return command(game, CMD_GET_SCORE); }

void readGamePicture(const TuiGame& game, GamePicture& picture) {
    const GameState& state = game.state;
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            picture.board[row][column] = state.cells[row][column] != 0;
    // Before the first game the piece's box lies left of the board and nothing shows.
    const char* falling = piecePicture(state.pieceKind, state.pieceRotation);
    for (int row = 0; row < PICTURE_SIDE; ++row) {
        for (int column = 0; column < PICTURE_SIDE; ++column) {
            int boardRow = state.pieceY + row;
            int boardColumn = state.pieceX + column;
            if (pictureCellFilled(falling, row, column) && boardRow >= 0 && boardRow < BOARD_ROWS &&
                boardColumn >= 0 && boardColumn < BOARD_COLUMNS)
                picture.board[boardRow][boardColumn] = true;
        }
    }
    uint32_t kind = previewWordKind(game.previewWord);
    uint32_t rotation = previewWordRotation(game.previewWord);
    bool known = kind < PIECE_KINDS && rotation < PIECE_ROTATIONS;
    const char* next =
        known ? piecePicture(static_cast<int>(kind), static_cast<int>(rotation)) : nullptr;
    for (int row = 0; row < PICTURE_SIDE; ++row)
        for (int column = 0; column < PICTURE_SIDE; ++column)
            picture.preview[row][column] = next != nullptr && pictureCellFilled(next, row, column);
    std::memcpy(picture.scoreText, game.scoreText, sizeof picture.scoreText);
}

FallingPiece readFallingPiece(const TuiGame& game) {
    return FallingPiece{game.state.pieceKind,
                        game.state.pieceRotation,
                        game.state.pieceX,
                        game.state.pieceY,
                        static_cast<int>(previewWordKind(game.previewWord)),
                        static_cast<int>(previewWordRotation(game.previewWord))};
}
