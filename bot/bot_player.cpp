// Drives the controller for the bot: one decision per piece, played as commands.
#include "bot/bot_player.h"

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/game_random.h"

namespace {

// The board view's command for each of the bot's moves, in BotMove's order.
constexpr GameCommand MOVE_COMMANDS[] = {CMD_MOVE_LEFT, CMD_MOVE_RIGHT, CMD_ROTATE, CMD_STEP_DOWN};

}  // namespace

BotView botViewOfGame(const GameState& state, const GameAdversary& adversary) {
    return BotView{maskBoardOf(state), state.pieceKind,  state.pieceRotation, state.pieceX,
                   state.pieceY,       state.nextKind,   state.nextRotation,  adversary.adversary,
                   &adversary.memory,  gameRandomState()};
}

PieceOutcome playOnePiece(GameState& state, const GameHost& host, const GameAdversary& adversary,
                          const BotSettings& settings) {
    if (!isGameActive(state)) return PIECE_NOT_PLAYABLE;
    BotDecision decision = decidePlacement(botViewOfGame(state, adversary), settings);
    if (!decision.found) return PIECE_NOT_PLAYABLE;
    for (BotMove move : decision.moves) applyGameCommand(state, host, MOVE_COMMANDS[move], 0);
    // The plan and the game must agree on where the piece is: a drift would mean the bot's
    // model of the commands is wrong, and every result built on it would be worthless.
    if (state.pieceX != decision.placement.x || state.pieceY != decision.placement.y ||
        state.pieceRotation != decision.placement.rotation)
        return PIECE_DRIFTED;
    fallStep(state, host);
    return PIECE_PLAYED;
}

BotGameResult playBotGame(GameState& state, const BotSettings& settings, int64_t maxPieces,
                          Adversary adversary) {
    // No real timer runs: the bot gives every step down itself.
    RecordingHost recording;
    recording.adversary.adversary = adversary;
    GameHost host = recordingHostOf(recording);
    newGame(state, host);
    BotGameResult result{0, 0, false, false};
    while (isGameActive(state)) {
        if (maxPieces > 0 && result.pieces >= maxPieces) {
            result.capped = true;
            break;
        }
        PieceOutcome outcome = playOnePiece(state, host, recording.adversary, settings);
        if (outcome == PIECE_DRIFTED) result.drifted = true;
        if (outcome != PIECE_PLAYED) break;
        ++result.pieces;
    }
    result.rows = queryScore(state);
    return result;
}
