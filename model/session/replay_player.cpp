// The replayed game's host, its random state kept apart, and the code's runs applied.
#include "model/session/replay_player.h"

#include <memory>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/rules/game_random.h"
#include "model/session/game_recorder.h"

namespace {

// Nonzero handle words of the replayed game's score label and preview.
constexpr uint32_t SCORE_LABEL = 1;
constexpr uint32_t PREVIEW = 2;

ReplayPlayer& playerOf(void* context) { return *static_cast<ReplayPlayer*>(context); }

uint32_t startFallTimer(void*) { return 1; }
void ignore(void*) {}
void setScoreText(void* context, uint32_t, const char* text) { playerOf(context).scoreText = text; }
void setPreviewWord(void* context, uint32_t, uint32_t word) {
    playerOf(context).previewWord = word;
}
int32_t nextKind(void* context, const GameState& state, int32_t fallingKind) {
    ReplayPlayer& player = playerOf(context);
    ++player.pieces;  // the piece before it was fixed; newGame's first choice fixed none
    return chooseNextKindKept(player.adversary, player.choice, state, fallingKind);
}
void startingGame(void* context) { startAdversaryGame(playerOf(context).adversary); }

// The replayed game's random state in the process-wide one while it lives.
struct RandomSwap {
    ReplayPlayer& player;
    uint32_t saved;
    explicit RandomSwap(ReplayPlayer& p) : player(p), saved(gameRandomState()) {
        restoreGameRandomState(player.random);
    }
    ~RandomSwap() {
        player.random = gameRandomState();
        restoreGameRandomState(saved);
    }
};

// The next run begun when the one in progress is done; false when none is left.
bool haveEvent(ReplayPlayer& player) {
    if (player.runLeft > 0) return true;
    if (!nextReplayRun(player.cursor, player.run)) return false;
    player.runLeft = player.run.count;
    return true;
}

bool afterTheEnd(const ReplayPlayer& player, ReplayError& error) {
    error.reason = "events after the game's end";
    error.position = player.run.position;
    return false;
}

void playOne(ReplayPlayer& player) {
    --player.runLeft;
    applyGameCommand(player.state, player.host, gameCommandOf(player.run.event), 0);
}

// The rest of a run of moves or turns, each played only while it changes something. They
// leave the grid and the row alone, so each one's effect depends only on the column and the
// rotation it starts from.
void playMoves(ReplayPlayer& player) {
    const GameState& state = player.state;
    const int32_t firstX = state.pieceX;
    const int32_t firstRotation = state.pieceRotation;
    for (int32_t played = 1; player.runLeft > 0; ++played) {
        const int32_t x = state.pieceX;
        const int32_t rotation = state.pieceRotation;
        playOne(player);
        if (state.pieceX == x && state.pieceRotation == rotation) {
            player.runLeft = 0;  // blocked, and so would the rest be
        } else if (state.pieceX == firstX && state.pieceRotation == firstRotation) {
            player.runLeft %= played;  // back where the run began: the rest go round again
        }
    }
}

}  // namespace

void startReplayPlayer(ReplayPlayer& player, const Replay& replay) {
    player.replay = replay;
    player.cursor = replayRunCursor(player.replay);
    player.run = ReplayRun{};
    player.runLeft = 0;
    player.host = GameHost{&player,      startFallTimer, ignore,   ignore,      ignore,
                           setScoreText, setPreviewWord, nextKind, startingGame};
    player.adversary = GameAdversary{replay.adversary, AdversaryMemory{}};
    player.choice = PieceChoice{};
    player.pieces = -1;
    player.scoreText = "0";
    player.previewWord = 0;
    player.random = gameRandomState();
    RandomSwap swap(player);
    initGameState(player.state);
    applyGameCommand(player.state, player.host, CMD_SET_SCORE_LABEL, SCORE_LABEL);
    applyGameCommand(player.state, player.host, CMD_SET_PREVIEW, PREVIEW);
    restoreGameRandomState(replay.start.random);
    player.state.nextKind = replay.start.kind;
    player.state.nextRotation = replay.start.rotation;
    applyGameCommand(player.state, player.host, CMD_NEW_GAME, 0);
}

bool peekReplayEvent(const ReplayPlayer& player, ReplayEvent& event) {
    if (player.runLeft > 0) {
        event = player.run.event;
        return true;
    }
    ReplayRunCursor cursor = player.cursor;
    ReplayRun run;
    if (!nextReplayRun(cursor, run)) return false;
    event = run.event;
    return true;
}

int64_t commandsBeforeTick(const ReplayPlayer& player, bool& tickFollows) {
    tickFollows = true;
    ReplayRun run = player.run;
    int64_t commands = 0;
    if (player.runLeft > 0) {
        if (run.event == ReplayEvent::Tick) return 0;
        commands = player.runLeft;
    }
    for (ReplayRunCursor cursor = player.cursor; nextReplayRun(cursor, run);) {
        if (run.event == ReplayEvent::Tick) return commands;
        commands += run.count;
    }
    tickFollows = false;
    return commands;
}

bool playReplayEvent(ReplayPlayer& player, ReplayError& error) {
    if (!haveEvent(player)) return true;
    if (!isGameActive(player.state)) return afterTheEnd(player, error);
    RandomSwap swap(player);
    playOne(player);
    return true;
}

bool playReplayToEnd(ReplayPlayer& player, ReplayError& error) {
    RandomSwap swap(player);
    while (haveEvent(player)) {
        if (!isGameActive(player.state)) return afterTheEnd(player, error);
        if (player.run.event == ReplayEvent::Tick || player.run.event == ReplayEvent::Down)
            playOne(player);
        else
            playMoves(player);
    }
    return true;
}

bool replayGameOver(const ReplayPlayer& player) { return !isGameActive(player.state); }

bool replayFinished(const ReplayPlayer& player) {
    return player.runLeft == 0 && player.cursor.events.empty();
}

bool replayGame(ReplayPlayer& player, const Replay& replay, ReplayError& error) {
    startReplayPlayer(player, replay);
    return playReplayToEnd(player, error);
}

bool replayFinalScore(const Replay& replay, int32_t& score, ReplayError& error) {
    auto player = std::make_unique<ReplayPlayer>();  // a game record is too large for a stack
    if (!replayGame(*player, replay, error)) return false;
    score = player->state.score;
    return true;
}
