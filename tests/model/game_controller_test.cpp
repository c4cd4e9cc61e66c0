// The controller driven like the board view drives it, with a recording host: whole games,
// the gate, pause, the score query and the command table.
#include <gtest/gtest.h>

#include <cstring>

#include "board_builder.h"
#include "model/game_command.h"
#include "model/game_controller.h"
#include "model/game_random.h"
#include "model/piece_moves.h"
#include "model/recording_notifier.h"

namespace {

constexpr uint32_t LABEL = 21;
constexpr uint32_t PREVIEW = 22;

// The record as the board view has it after creation and the two link commands.
GameState createdView() {
    GameState state = freshRecord();
    initGameState(state);
    setScoreLabel(state, LABEL);
    setPreviewWindow(state, PREVIEW);
    return state;
}

// Ticks until the game ends; returns the number of ticks, or -1 if it never ends.
int tickUntilOver(GameState& state, const GameHost& host) {
    for (int tick = 1; tick <= 10000; ++tick) {
        fallStep(state, host);
        if (state.timerId == 0) return tick;
    }
    return -1;
}

TEST(GameController, CreationLeavesNoGameAndAnOffBoardPiece) {
    GameState state = freshRecord();
    std::memset(&state, 0xAB, sizeof state);
    initGameState(state);
    EXPECT_EQ(-10, state.pieceX);
    EXPECT_EQ(0, state.pieceY);
    EXPECT_EQ(41 % 7, state.pieceKind);  // the program's first draw
    EXPECT_EQ(0, state.nextKind);
    EXPECT_EQ(0, state.nextRotation);
    EXPECT_EQ(0u, state.timerId);
    EXPECT_EQ(0, state.paused);
    EXPECT_EQ(0u, state.scoreLabel);
    EXPECT_EQ(0u, state.previewWindow);
    EXPECT_EQ(0u, state.offscreenDC);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_FALSE(isGameActive(state));
}

TEST(GameController, PieceCommandsBeforeTheFirstGameDoNothing) {
    NotifierRecord& notes = recordNotifications();
    GameState state = createdView();
    GameState before = state;
    RecordingHost recorder;
    GameHost host = recorder.host();
    fallStep(state, host);
    moveLeft(state, host);
    moveRight(state, host);
    rotatePiece(state, host);
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
    EXPECT_EQ("", recorder.calls);
    EXPECT_TRUE(notes.texts.empty());
    EXPECT_TRUE(notes.previewWords.empty());
    EXPECT_EQ(0, queryScore(state));
}

TEST(GameController, FirstGameStartsWithTheLPieceAndPreviewsItsSuccessor) {
    NotifierRecord& notes = recordNotifications();
    GameState state = createdView();
    RecordingHost recorder;
    newGame(state, recorder.host());
    EXPECT_EQ(0, state.pieceKind);
    EXPECT_EQ(0, state.pieceRotation);
    EXPECT_EQ(4, state.pieceX);
    EXPECT_EQ(0, state.pieceY);
    EXPECT_EQ(0, state.nextKind);
    EXPECT_EQ(2, state.nextRotation);  // 6334 % 4: the third draw of the program
    EXPECT_EQ(1u, state.timerId);
    EXPECT_EQ("SR", recorder.calls);
    ASSERT_EQ(1u, notes.previewWords.size());
    EXPECT_EQ(PREVIEW, notes.previewWords[0].first);
    EXPECT_EQ(0x00020000u, notes.previewWords[0].second);
    ASSERT_EQ(1u, notes.texts.size());
    EXPECT_EQ(LABEL, notes.texts[0].first);
    EXPECT_EQ("0", notes.texts[0].second);
}

TEST(GameController, WholeGameEndsOnceWithTheTimerStopped) {
    NotifierRecord& notes = recordNotifications();
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    int ticks = tickUntilOver(state, host);
    ASSERT_GT(ticks, 0);
    EXPECT_EQ(1, recorder.count('S'));
    EXPECT_EQ(1, recorder.count('T'));
    EXPECT_EQ(1, recorder.count('G'));
    EXPECT_EQ(1 + ticks, recorder.count('R'));  // one per tick, plus the new game
    EXPECT_EQ("TGR", recorder.calls.substr(recorder.calls.size() - 3));
    EXPECT_EQ(0u, state.timerId);
    // The piece that did not fit stays at the top, unlocked.
    EXPECT_EQ(4, state.pieceX);
    EXPECT_EQ(0, state.pieceY);
    EXPECT_FALSE(pieceFits(state));
    // Every advance told the preview; the last word is the next game's first piece.
    ASSERT_FALSE(notes.previewWords.empty());
    EXPECT_EQ(static_cast<uint32_t>(state.nextRotation << 16 | state.nextKind),
              notes.previewWords.back().second);

    GameState over = state;
    std::string callsAtEnd = recorder.calls;
    fallStep(state, host);
    moveLeft(state, host);
    rotatePiece(state, host);
    EXPECT_EQ(0, std::memcmp(&over, &state, sizeof state));
    EXPECT_EQ(callsAtEnd, recorder.calls);

    // The next game starts with the piece that was pending when this one ended.
    int pendingKind = state.nextKind;
    int pendingRotation = state.nextRotation;
    newGame(state, host);
    EXPECT_EQ(pendingKind, state.pieceKind);
    EXPECT_EQ(pendingRotation, state.pieceRotation);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ(1, recorder.count('G'));
}

TEST(GameController, CompletedRowScoresAndShowsOnTheLabel) {
    NotifierRecord& notes = recordNotifications();
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    // The first piece, an L at column 4, lands in rows 17..19 of column 4 and row 19 of 5.
    setRow(state, 19, "####..####");
    int ticks = 0;
    while (state.pieceY != 0 || ticks == 0) {
        fallStep(state, host);
        ++ticks;
        ASSERT_LT(ticks, 30);
    }
    EXPECT_EQ(1, state.score);
    EXPECT_EQ(1, queryScore(state));
    EXPECT_EQ("1", notes.texts.back().second);
    std::vector<std::pair<int, int>> expected = {{18, 4}, {19, 4}};
    EXPECT_EQ(expected, filledCells(state));
}

TEST(GameController, BlockedMovesStillRepaintAndPausedOnesDoNot) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    for (int step = 0; step < 6; ++step) moveLeft(state, host);
    EXPECT_EQ(0, state.pieceX);
    EXPECT_EQ("S" + std::string(7, 'R'), recorder.calls);

    pauseGame(state);
    GameState paused = state;
    fallStep(state, host);
    moveRight(state, host);
    rotatePiece(state, host);
    EXPECT_EQ(0, std::memcmp(&paused, &state, sizeof state));
    EXPECT_EQ(7, recorder.count('R'));
    resumeGame(state);
    fallStep(state, host);
    EXPECT_EQ(1, state.pieceY);
    EXPECT_EQ(1, recorder.count('S'));  // pause and resume leave the timer alone
}

TEST(GameController, ScoreQueryAnswersTheScoreAlsoWhilePaused) {
    GameState state = createdView();
    pauseGame(state);
    EXPECT_EQ(0, queryScore(state));
    state.score = 3;
    EXPECT_EQ(3, queryScore(state));
    resumeGame(state);
    EXPECT_EQ(3, queryScore(state));
}

TEST(GameController, NewGameClearsPauseRestartsTheTimerAndForgetsTheOldGame) {
    NotifierRecord& notes = recordNotifications();
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    pauseGame(state);
    newGame(state, host);
    EXPECT_TRUE(isGameActive(state));
    for (int tick = 0; tick < 40; ++tick) fallStep(state, host);
    state.score = 9;
    newGame(state, host);
    EXPECT_EQ(0, state.score);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ(2, recorder.count('S'));
    EXPECT_EQ(0, recorder.count('G'));
    EXPECT_EQ(0, recorder.count('T'));
    EXPECT_EQ("0", notes.texts.back().second);
}

TEST(GameController, RefusedTimerLeavesNoGameRunning) {
    NotifierRecord& notes = recordNotifications();
    GameState state = freshRecord();
    initGameState(state);  // no label linked: newGame sets no text
    RecordingHost recorder;
    recorder.timerToGrant = 0;
    GameHost host = recorder.host();
    newGame(state, host);
    EXPECT_EQ(0u, state.timerId);
    EXPECT_EQ(4, state.pieceX);
    EXPECT_TRUE(notes.texts.empty());
    GameState before = state;
    fallStep(state, host);
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
}

TEST(GameController, SecondGameContinuesTheRandomSequence) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    uint32_t afterFirstStart = gameRandomState();
    newGame(state, host);
    EXPECT_NE(afterFirstStart, gameRandomState());
    // Two draws per new game: the discarded kind and the next rotation.
    restoreGameRandomState(afterFirstStart);
    GameRandom();
    EXPECT_EQ(GameRandom() % 4, state.nextRotation);
}

TEST(GameCommandTable, CodesReachTheirOperations) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    GameState before = state;
    for (uint32_t code : {0u, 7u, 12u, 0xFFFFFFFFu}) EXPECT_EQ(1, applyGameCommand(state, host, code, 5));
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
    EXPECT_EQ("", recorder.calls);

    EXPECT_EQ(1, applyGameCommand(state, host, CMD_SET_SCORE_LABEL, 77));
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_SET_PREVIEW, 78));
    EXPECT_EQ(77u, state.scoreLabel);
    EXPECT_EQ(78u, state.previewWindow);
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_NEW_GAME, 0));
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_MOVE_RIGHT, 0));
    EXPECT_EQ(5, state.pieceX);
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_MOVE_LEFT, 0));
    EXPECT_EQ(4, state.pieceX);
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_ROTATE, 0));
    EXPECT_EQ(1, state.pieceRotation);
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_STEP_DOWN, 0));
    EXPECT_EQ(1, state.pieceY);
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_PAUSE, 0));
    EXPECT_EQ(1, state.paused);
    state.score = 3;
    EXPECT_EQ(3, applyGameCommand(state, host, CMD_GET_SCORE, 0));
    EXPECT_EQ(1, applyGameCommand(state, host, CMD_RESUME, 0));
    EXPECT_EQ(0, state.paused);
    EXPECT_EQ("SRRRRR", recorder.calls);
}

}  // namespace
