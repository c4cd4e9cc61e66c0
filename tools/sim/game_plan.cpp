// The end-to-end tests' game: the first game of a run, which every edition plays the same
// way since the random sequence starts from the same state. The bot places each piece until
// a row is cleared, so that the score is a new record; then each piece drops where it
// appears until the game ends. Each piece's entry holds the keys and what the tests check
// on screen: the piece and the preview as it appears, the row it rests in and the stack.
#include "tools/sim/kostrel_sim.h"

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bot/bot_player.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/piece_moves.h"
#include "tools/sim/sim_options.h"

namespace {

constexpr int ROWS_TO_CLEAR = 1;
// The tests press their keys while the real fall timer runs, which may have taken the piece
// this many rows down first; the keys must then lead to the same place.
constexpr int TIMER_ROWS = 3;

struct PlannedPiece {
    int kind, rotation, nextKind, nextRotation;
    int turns = 0;
    int shift = 0;
    int rest = 0;  // the row the piece's box rests in
};

// Where the keys leave the piece, on a copy of the game with the rules alone (nothing is
// locked, no random draw is made), after the timer took it `timerRows` down; false when
// the timer would fix it first or a key is refused.
bool restingPlace(GameState trial, int timerRows, int turns, int shift, Placement& rest) {
    for (int row = 0; row < timerRows; ++row)
        if (!tryMove(trial, 0, 1)) return false;
    for (int turn = 0; turn < turns; ++turn)
        if (!tryRotate(trial)) return false;
    for (int moved = 0; moved != shift; moved += shift > 0 ? 1 : -1)
        if (!tryMove(trial, shift > 0 ? 1 : -1, 0)) return false;
    while (tryMove(trial, 0, 1)) {
    }
    rest = Placement{trial.pieceX, trial.pieceY, trial.pieceRotation};
    return true;
}

// The bot's choice among the places that the tests' keys reach whenever they come: `turns`
// turns, then `shift` moves sideways (to the right when positive), then steps down, with
// the same resting place after the timer took the piece up to TIMER_ROWS rows down first.
// False when there is none.
bool chooseKeys(const GameState& state, const GameAdversary& adversary, PlannedPiece& piece) {
    std::vector<Placement> allowed;
    std::vector<std::pair<int, int>> keys;  // turns and shift for each allowed place
    for (int turns = 0; turns < PIECE_ROTATIONS; ++turns) {
        for (int shift = -state.pieceX; shift < BOARD_COLUMNS - state.pieceX; ++shift) {
            Placement rest;
            Placement later;
            bool same = restingPlace(state, 0, turns, shift, rest);
            for (int late = 1; same && late <= TIMER_ROWS; ++late)
                same = restingPlace(state, late, turns, shift, later) &&
                       samePlace(state.pieceKind, later, rest);
            if (!same) continue;
            allowed.push_back(rest);
            keys.emplace_back(turns, shift);
        }
    }
    BotDecision decision =
        decidePlacement(botViewOfGame(state, adversary), defaultBotSettings(), &allowed);
    for (size_t i = 0; decision.found && i < allowed.size(); ++i) {
        if (!samePlace(state.pieceKind, allowed[i], decision.placement)) continue;
        std::tie(piece.turns, piece.shift) = keys[i];
        return true;
    }
    return false;
}

// Plays the piece's keys and steps it down until it is fixed, as the tests will.
void playPiece(GameState& state, const GameHost& host, PlannedPiece& piece) {
    for (int turn = 0; turn < piece.turns; ++turn) rotatePiece(state, host);
    for (int moved = 0; moved < (piece.shift > 0 ? piece.shift : -piece.shift); ++moved)
        piece.shift > 0 ? moveRight(state, host) : moveLeft(state, host);
    // A step that fixes the piece brings in the next one at the top.
    do {
        piece.rest = state.pieceY;
        fallStep(state, host);
    } while (state.pieceY == piece.rest + 1);
}

// The piece's entry, with the stack it left.
void writePiece(std::ostream& out, const PlannedPiece& piece, const GameState& stack) {
    out << "{\"kind\": " << piece.kind << ", \"rotation\": " << piece.rotation << ", \"preview\": ["
        << piece.nextKind << ", " << piece.nextRotation << "], \"turns\": " << piece.turns
        << ", \"shift\": " << piece.shift << ", \"rest\": " << piece.rest << ",\n  \"stack\": [";
    for (int row = 0; row < BOARD_ROWS; ++row) {
        std::string line(BOARD_COLUMNS, '.');
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (stack.cells[row][column] != 0) line[column] = '#';
        out << (row > 0 ? ", \"" : "\"") << line << '"';
    }
    out << "]}";
}

}  // namespace

int runGamePlan(const SimCall& call) {
    AdversaryOptions options;
    int status = readOptions(call, ADVERSARY_OPTIONS, options);
    if (status != SIM_EXIT_OK) return status;
    std::ostream& out = call.out;
    std::ostream& err = call.err;
    GameState state;
    RecordingHost recording;
    recording.adversary.adversary = options.adversary;
    GameHost host = recordingHostOf(recording);
    initGameState(state);
    newGame(state, host);
    std::ostringstream pieces;  // printed only when the whole plan holds
    for (int count = 0; isGameActive(state); ++count) {
        PlannedPiece piece{state.pieceKind, state.pieceRotation, state.nextKind,
                           state.nextRotation};
        if (state.score < ROWS_TO_CLEAR && !chooseKeys(state, recording.adversary, piece)) {
            err << "kostrel-sim: no plan: piece " << count
                << " has no place that its keys reach whenever they come\n";
            return SIM_EXIT_BOT_FAULT;
        }
        playPiece(state, host, piece);
        pieces << (count > 0 ? ",\n" : "");
        writePiece(pieces, piece, state);
    }
    if (state.score < ROWS_TO_CLEAR) {
        err << "kostrel-sim: no plan: the game ended before a row was cleared\n";
        return SIM_EXIT_BOT_FAULT;
    }
    out << "{\"pieces\": [\n" << pieces.str() << "\n], \"final_score\": " << state.score << "}\n";
    return SIM_EXIT_OK;
}
