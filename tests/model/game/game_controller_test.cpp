// The controller driven like the board view drives it, with a recording host: whole games,
// the gate, pause, the score query and the command table.
#include <gtest/gtest.h>

#include <cstring>

#include "board_builder.h"
#include "model/game/game_command.h"
#include "model/game/game_controller.h"
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

bool unchanged(const GameState& before, const GameState& after) {
    return std::memcmp(&before, &after, sizeof before) == 0;
}

// Applies every piece operation; a game that is not active must ignore them all.
void pokeEverything(GameState& state, const GameHost& host) {
    fallStep(state, host);
    moveLeft(state, host);
    moveRight(state, host);
    rotatePiece(state, host);
}

TEST(GameController, NothingMovesBeforeTheFirstGame) {
    GameState state = createdView();
    EXPECT_EQ(-10, state.pieceX);
    EXPECT_EQ(41 % 7, state.pieceKind);  // the program's first draw
    EXPECT_EQ(0, state.nextKind);
    EXPECT_EQ(0u, state.offscreenDC);
    EXPECT_TRUE(filledCells(state).empty());
    GameState before = state;
    RecordingHost recorder;
    pokeEverything(state, recorder.host());
    EXPECT_TRUE(unchanged(before, state));
    EXPECT_EQ("", recorder.calls);
    EXPECT_TRUE(recorder.texts.empty() && recorder.previewWords.empty());
}

TEST(GameController, WholeGameFromStartToItsSingleEnd) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    // The first game of a run: the L in rotation 0 at column 4, the next one in rotation 2.
    EXPECT_EQ(0, state.pieceKind);
    EXPECT_EQ(0, state.pieceRotation);
    EXPECT_EQ(4, state.pieceX);
    EXPECT_EQ(0, state.pieceY);
    EXPECT_EQ(0, state.nextKind);
    EXPECT_EQ(2, state.nextRotation);
    EXPECT_EQ("PSRL", recorder.calls);  // preview, timer, repaint, then the label's "0"
    EXPECT_EQ((std::pair<uint32_t, uint32_t>(PREVIEW, 0x00020000u)), recorder.previewWords.at(0));
    EXPECT_EQ((std::pair<uint32_t, std::string>(LABEL, "0")), recorder.texts.at(0));

    int ticks = 0;
    while (state.timerId != 0 && ticks < 10000) {
        fallStep(state, host);
        ++ticks;
    }
    EXPECT_EQ(0u, state.timerId);
    EXPECT_EQ(1, recorder.count('S'));
    EXPECT_EQ(1, recorder.count('T'));
    EXPECT_EQ(1, recorder.count('G'));
    EXPECT_EQ(1 + ticks, recorder.count('R'));  // one per tick, and the new game's
    EXPECT_EQ("TGR", recorder.calls.substr(recorder.calls.size() - 3));
    EXPECT_EQ(4, state.pieceX);  // the piece that did not fit stays at the top, unlocked
    EXPECT_EQ(0, state.pieceY);
    EXPECT_FALSE(pieceFits(state));
    EXPECT_EQ(static_cast<uint32_t>(state.nextRotation << 16 | state.nextKind),
              recorder.previewWords.back().second);

    GameState over = state;
    std::string callsAtEnd = recorder.calls;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(over, state));
    EXPECT_EQ(callsAtEnd, recorder.calls);

    // The next game starts with the piece that was pending, and continues the random draws.
    newGame(state, host);
    EXPECT_EQ(over.nextKind, state.pieceKind);
    EXPECT_EQ(over.nextRotation, state.pieceRotation);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ(1, recorder.count('G'));
}

TEST(GameController, CompletedRowsScoreAndShowEachScoreOnTheLabel) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    // A vertical bar fills the gap of both rows.
    state.pieceKind = 6;
    setRow(state, 18, "####.#####");
    setRow(state, 19, "####.#####");
    recorder.calls.clear();
    recorder.texts.clear();
    do fallStep(state, host);
    while (state.pieceY != 0);
    EXPECT_EQ(2, state.score);
    // Each score on the way, in turn, before the next piece is announced.
    std::vector<std::pair<uint32_t, std::string>> texts = {{LABEL, "1"}, {LABEL, "2"}};
    EXPECT_EQ(texts, recorder.texts);
    EXPECT_EQ("LLPR", recorder.calls.substr(recorder.calls.size() - 4));
    std::vector<std::pair<int, int>> expected = {{18, 4}, {19, 4}};
    EXPECT_EQ(expected, filledCells(state));
}

TEST(GameController, PauseFreezesThePieceButNotTheScoreQuery) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    pauseGame(state);
    newGame(state, host);  // a new game clears the pause
    for (int step = 0; step < 6; ++step) moveLeft(state, host);
    EXPECT_EQ(0, state.pieceX);
    EXPECT_EQ("PSRL" + std::string(6, 'R'), recorder.calls);  // blocked moves repaint too

    state.score = 3;
    pauseGame(state);
    GameState paused = state;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(paused, state));
    EXPECT_EQ(7, recorder.count('R'));
    EXPECT_EQ(3, queryScore(state));  // the real score, never a stand-in
    resumeGame(state);
    fallStep(state, host);
    EXPECT_EQ(1, state.pieceY);
    EXPECT_EQ(1, recorder.count('S'));  // pause and resume leave the timer alone
}

TEST(GameController, NewGameAbandonsTheOldOneQuietly) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    newGame(state, host);
    for (int tick = 0; tick < 40; ++tick) fallStep(state, host);
    state.score = 9;
    newGame(state, host);
    EXPECT_EQ(0, state.score);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ("0", recorder.texts.back().second);
    EXPECT_EQ(2, recorder.count('S'));
    EXPECT_EQ(0, recorder.count('G') + recorder.count('T'));

    recorder.timerToGrant = 0;  // a refused timer: the board is set up, but nothing runs
    newGame(state, host);
    EXPECT_EQ(0u, state.timerId);
    GameState idle = state;
    pokeEverything(state, host);
    EXPECT_TRUE(unchanged(idle, state));
}

TEST(GameCommandTable, CodesReachTheirOperations) {
    GameState state = createdView();
    RecordingHost recorder;
    GameHost host = recorder.host();
    GameState before = state;
    for (uint32_t code : {0u, 7u, 12u, 0xFFFFFFFFu})
        EXPECT_EQ(1, applyGameCommand(state, host, code, 5));
    EXPECT_TRUE(unchanged(before, state));

    const struct {
        uint32_t code;
        int32_t answer;
    } script[] = {{CMD_SET_SCORE_LABEL, 1}, {CMD_SET_PREVIEW, 1}, {CMD_NEW_GAME, 1},
                  {CMD_MOVE_RIGHT, 1},      {CMD_MOVE_RIGHT, 1},  {CMD_MOVE_LEFT, 1},
                  {CMD_ROTATE, 1},          {CMD_STEP_DOWN, 1},   {CMD_PAUSE, 1},
                  {CMD_GET_SCORE, 0},       {CMD_RESUME, 1}};
    for (const auto& command : script)
        EXPECT_EQ(command.answer, applyGameCommand(state, host, command.code, 70 + command.code));
    EXPECT_EQ(80u, state.scoreLabel);
    EXPECT_EQ(81u, state.previewWindow);
    EXPECT_EQ(5, state.pieceX);
    EXPECT_EQ(1, state.pieceRotation);
    EXPECT_EQ(1, state.pieceY);
    EXPECT_EQ(0, state.paused);
    EXPECT_EQ("PSRLRRRRR", recorder.calls);
}

}  // namespace
