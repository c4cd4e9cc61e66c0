// Drives the controller for the bot: one decision per piece, played as commands.
#include "bot/bot_player.h"

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"
#include "model/session/game_recorder.h"

namespace {

// The replay's event for each of the bot's moves, in BotMove's order.
constexpr ReplayEvent MOVE_EVENTS[] = {ReplayEvent::Left, ReplayEvent::Right, ReplayEvent::Up,
                                       ReplayEvent::Down};

}  // namespace

ReplayEvent botMoveEvent(BotMove move) { return MOVE_EVENTS[move]; }

namespace {

void play(GameState& state, const GameHost& host, ReplayEvent event, Replay* recording) {
    if (recording != nullptr)
        playRecorded(*recording, state, host, event);
    else
        applyGameCommand(state, host, gameCommandOf(event), 0);
}

}  // namespace

BotView botViewOfGame(const GameState& state, const GameAdversary& adversary) {
    return BotView{maskBoardOf(state), state.pieceKind,  state.pieceRotation, state.pieceX,
                   state.pieceY,       state.nextKind,   state.nextRotation,  adversary.adversary,
                   adversary.memory,   gameRandomState()};
}

BotView botViewOfPureGame(const PureGame& game) {
    return BotView{game.board,    game.kind,         game.rotation,  SPAWN_COLUMN, SPAWN_ROW,
                   game.nextKind, game.nextRotation, game.adversary, game.memory,  game.random};
}

PieceOutcome playOnePiece(GameState& state, const GameHost& host, const GameAdversary& adversary,
                          const BotSettings& settings, Replay* recording) {
    if (!isGameActive(state)) return PIECE_NOT_PLAYABLE;
    BotDecision decision = decidePlacement(botViewOfGame(state, adversary), settings);
    if (!decision.found) return PIECE_NOT_PLAYABLE;
    for (BotMove move : decision.moves) play(state, host, botMoveEvent(move), recording);
    // The plan and the game must agree on where the piece is: a drift would mean the bot's
    // model of the commands is wrong, and every result built on it would be worthless.
    if (state.pieceX != decision.placement.x || state.pieceY != decision.placement.y ||
        state.pieceRotation != decision.placement.rotation)
        return PIECE_DRIFTED;
    play(state, host, ReplayEvent::Down, recording);
    return PIECE_PLAYED;
}

BotGameResult playBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                          Adversary adversary, Replay* recording) {
    // No real timer runs: the bot gives every step down itself.
    RecordingHost stand;
    stand.adversary.adversary = adversary;
    GameHost host = recordingHostOf(stand);
    if (recording != nullptr) startRecording(*recording, state, adversary);
    newGame(state, host);
    BotGameResult result{0, 0, false, false};
    while (isGameActive(state)) {
        if (maxPieces > 0 && result.pieces >= maxPieces) {
            result.capped = true;
            break;
        }
        PieceOutcome outcome = playOnePiece(state, host, stand.adversary, settings, recording);
        if (outcome == PIECE_DRIFTED) result.drifted = true;
        if (outcome != PIECE_PLAYED) break;
        ++result.pieces;
    }
    result.rows = queryScore(state);
    return result;
}
