// The controller driven like the board view drives it, with a recording host: whole games,
// the gate, pause, the score query, the command table, and the random sequence it draws
// from. (The first game's opening is pinned by kostrel_sim_test's play output.)
#include <gtest/gtest.h>

#include <cstring>

#include "board_builder.h"
#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"
#include "model/rules/piece_moves.h"

namespace {

constexpr uint32_t LABEL = 21;
constexpr uint32_t PREVIEW = 22;

// The record as the board view has it after creation and the two link commands.
GameState createdView() {
    GameState state = freshRecord();
    std::memset(&state, 0xAB, sizeof state);  // initGameState must set every word
    initGameState(state);
    setScoreLabel(state, LABEL);
    setPreviewWindow(state, PREVIEW);
    return state;
}

// A view's host that keeps its calls in order: S start, T stop, G game over, R repaint,
// P preview, L with the label's text.
class GameController : public ::testing::Test {
   protected:
    void SetUp() override { recording.callLog = &calls; }
    std::string calls;
    RecordingHost recording;
    GameHost host = recordingHostOf(recording);
};

// Applies every piece operation; a game that is not active must ignore them all.
void pokeEverything(GameState& state, const GameHost& host) {
    fallStep(state, host);
    moveLeft(state, host);
    moveRight(state, host);
    rotatePiece(state, host);
}

// Each value counts: the kinds of the uniform bot are draws modulo 7.
// A state carried by the caller runs the same sequence and leaves the process-wide one be.
TEST(GameRandom, KnownSequenceFromStateOne) {
    restoreGameRandomState(GAME_RANDOM_START);
    uint32_t carried = GAME_RANDOM_START;
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int32_t value : expected) EXPECT_EQ(value, GameRandom());
    EXPECT_EQ(0x0029e2c0u, [] {
        uint32_t afterOne = GAME_RANDOM_START;
        nextGameRandom(afterOne);
        return afterOne;
    }()) << "the state a fresh program's first game starts from";
    for (int32_t value : expected) EXPECT_EQ(value, nextGameRandom(carried));
    EXPECT_EQ(carried, gameRandomState());
}

TEST_F(GameController, WholeGameFromBeforeItsStartToItsSingleEnd) {
    GameState state = createdView();
    EXPECT_EQ(-10, state.pieceX);
    EXPECT_EQ(41 % 7, state.pieceKind);  // the program's first draw
    EXPECT_EQ(0, state.nextKind);
    EXPECT_EQ(0u, state.offscreenDC);
    EXPECT_TRUE(filledCells(state).empty());
    GameState before = state;
    pokeEverything(state, host);  // nothing moves before the first game
    EXPECT_TRUE(unchanged(before, state));
    EXPECT_EQ("", calls);

    newGame(state, host);
    EXPECT_EQ("PSRL0", calls);  // preview, timer, repaint, then the label's "0"

    int ticks = 0;
    while (state.timerId != 0 && ticks < 10000) {
        fallStep(state, host);
        ++ticks;
    }
    EXPECT_EQ(0u, state.timerId);
    EXPECT_FALSE(recording.timerRunning);
    EXPECT_EQ(1, recording.starts);
    EXPECT_EQ(1, recording.stops);
    EXPECT_EQ(1, recording.gameOvers);
    EXPECT_EQ(1 + ticks, recording.repaints);  // one per tick, and the new game's
    EXPECT_EQ("TGR", calls.substr(calls.size() - 3));
    EXPECT_EQ(4, state.pieceX);  // the piece that did not fit stays at the top, unlocked
    EXPECT_EQ(0, state.pieceY);
    EXPECT_FALSE(pieceFits(state));
    EXPECT_EQ(static_cast<uint32_t>(state.nextRotation << 16 | state.nextKind),
              recording.previewWord);

    GameState over = state;
    std::string callsAtEnd = calls;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(over, state));
    EXPECT_EQ(callsAtEnd, calls);

    // The next game starts with the piece that was pending, and continues the random draws.
    newGame(state, host);
    EXPECT_EQ(over.nextKind, state.pieceKind);
    EXPECT_EQ(over.nextRotation, state.pieceRotation);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ(1, recording.gameOvers);
}

TEST_F(GameController, CompletedRowsScoreAndShowEachScoreOnTheLabel) {
    GameState state = createdView();
    newGame(state, host);
    // A vertical bar fills the gap of both rows.
    state.pieceKind = 6;
    setRow(state, 18, "####.#####");
    setRow(state, 19, "####.#####");
    do fallStep(state, host);
    while (state.pieceY != 0);
    EXPECT_EQ(2, state.score);
    // Each score on the way, in turn, before the next piece is announced.
    EXPECT_EQ("L1L2PR", calls.substr(calls.size() - 6));
    std::vector<std::pair<int, int>> expected = {{18, 4}, {19, 4}};
    EXPECT_EQ(expected, filledCells(state));
}

TEST_F(GameController, PauseFreezesThePieceButNotTheScoreQuery) {
    GameState state = createdView();
    pauseGame(state);
    newGame(state, host);  // a new game clears the pause
    moveLeft(state, host);
    EXPECT_EQ(3, state.pieceX);

    state.score = 3;
    pauseGame(state);
    GameState paused = state;
    std::string callsPaused = calls;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(paused, state));
    EXPECT_EQ(callsPaused, calls);    // no repaint, and the timer left alone
    EXPECT_EQ(3, queryScore(state));  // the real score, never a stand-in
    resumeGame(state);
    fallStep(state, host);
    EXPECT_EQ(1, state.pieceY);
}

TEST_F(GameController, NewGameAbandonsTheOldOneQuietly) {
    GameState state = createdView();
    newGame(state, host);
    for (int tick = 0; tick < 40; ++tick) fallStep(state, host);
    state.score = 9;
    newGame(state, host);
    EXPECT_EQ(0, state.score);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ("0", recording.labelText);
    EXPECT_EQ(2, recording.starts);
    EXPECT_EQ(0, recording.gameOvers + recording.stops);

    recording.timerId = 0;  // a refused timer: the board is set up, but nothing runs
    newGame(state, host);
    EXPECT_EQ(0u, state.timerId);
    EXPECT_FALSE(recording.timerRunning);
    GameState idle = state;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(idle, state));
}

// The view's own notice to its parent and unknown codes change nothing and answer 1; the
// score query answers the score. (The session's keys and holds drive the other codes.)
TEST_F(GameController, TheCommandTableIgnoresWhatIsNotTheViews) {
    GameState state = createdView();
    newGame(state, host);
    state.score = 6;
    GameState running = state;
    std::string callsBefore = calls;
    for (uint32_t code : {uint32_t(CMD_GAME_OVER), 0u, 12u, 0xFFFFFFFFu})
        EXPECT_EQ(1, applyGameCommand(state, host, code, 5)) << code;
    EXPECT_TRUE(unchanged(running, state)) << "no new game, no move";
    EXPECT_EQ(callsBefore, calls);
    EXPECT_EQ(6, applyGameCommand(state, host, CMD_GET_SCORE, 0));
}

}  // namespace
