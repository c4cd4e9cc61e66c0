// The end-to-end tests' game: the first game of a run, which every edition plays the same
// way since the random sequence starts from the same state. The bot places each piece until
// a row is cleared, so that the score is a new record; then each piece drops where it
// appears until the game ends. Each piece's entry holds the keys and what the tests check
// on screen: the piece and the preview as it appears, the row it rests in and the stack.
#include "tools/sim/kostrel_sim.h"

#include <string>
#include <vector>

#include "bot/bot_player.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "model/rules/piece_moves.h"

namespace {

constexpr int ROWS_TO_CLEAR = 1;
// The tests press their keys while the real fall timer runs, which may have taken the piece
// this many rows down first; the keys must then lead to the same place.
constexpr int TIMER_ROWS = 3;

// A placement that the tests' keys reach: `turns` turns, then `shift` moves sideways (to the
// right when positive), then steps down.
struct KeyedPlacement {
    int turns;
    int shift;
    Placement rest;
};

struct PlannedPiece {
    int kind, rotation, nextKind, nextRotation;
    int turns = 0;
    int shift = 0;
    int rest = 0;       // the row the piece's box rests in
    GameState stack{};  // the grid once the piece is fixed
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

// The keyed placements of the falling piece that rest in the same place whenever the keys
// come, fewest turns first.
std::vector<KeyedPlacement> timerProofPlacements(const GameState& state) {
    std::vector<KeyedPlacement> found;
    for (int turns = 0; turns < PIECE_ROTATIONS; ++turns) {
        for (int x = 0; x < BOARD_COLUMNS; ++x) {
            KeyedPlacement keyed{turns, x - state.pieceX, Placement{}};
            bool same = restingPlace(state, 0, turns, keyed.shift, keyed.rest);
            for (int late = 1; same && late <= TIMER_ROWS; ++late) {
                Placement lower;
                same = restingPlace(state, late, turns, keyed.shift, lower) &&
                       samePlace(state.pieceKind, lower, keyed.rest);
            }
            if (same) found.push_back(keyed);
        }
    }
    return found;
}

// The bot's choice among the timer-proof placements, as keys; false when there is none.
bool choosePlacement(const GameState& state, PlannedPiece& piece) {
    std::vector<KeyedPlacement> keyed = timerProofPlacements(state);
    std::vector<Placement> allowed;
    for (const KeyedPlacement& k : keyed) allowed.push_back(k.rest);
    BotDecision decision = decidePlacement(botViewOfGame(state), defaultBotSettings(), &allowed);
    for (const KeyedPlacement& k : keyed) {
        if (decision.found && samePlace(state.pieceKind, k.rest, decision.placement)) {
            piece.turns = k.turns;
            piece.shift = k.shift;
            return true;
        }
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
    piece.stack = state;
}

void writePiece(std::ostream& out, const PlannedPiece& piece) {
    out << "{\"kind\": " << piece.kind << ", \"rotation\": " << piece.rotation << ", \"preview\": ["
        << piece.nextKind << ", " << piece.nextRotation << "], \"turns\": " << piece.turns
        << ", \"shift\": " << piece.shift << ", \"rest\": " << piece.rest << ",\n  \"stack\": [";
    for (int row = 0; row < BOARD_ROWS; ++row) {
        std::string line(BOARD_COLUMNS, '.');
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            if (piece.stack.cells[row][column] != 0) line[column] = '#';
        out << (row > 0 ? ", \"" : "\"") << line << '"';
    }
    out << "]}";
}

}  // namespace

int runGamePlan(std::ostream& out, std::ostream& err) {
    GameState state;
    RecordingHost recording;
    GameHost host = recordingHostOf(recording);
    initGameState(state);
    newGame(state, host);
    std::vector<PlannedPiece> pieces;
    while (isGameActive(state)) {
        PlannedPiece piece{state.pieceKind, state.pieceRotation, state.nextKind,
                           state.nextRotation};
        if (state.score < ROWS_TO_CLEAR && !choosePlacement(state, piece)) {
            err << "kostrel-sim: no plan: piece " << pieces.size()
                << " has no place that its keys reach whenever they come\n";
            return SIM_EXIT_BOT_FAULT;
        }
        playPiece(state, host, piece);
        pieces.push_back(piece);
    }
    if (state.score < ROWS_TO_CLEAR) {
        err << "kostrel-sim: no plan: the game ended before a row was cleared\n";
        return SIM_EXIT_BOT_FAULT;
    }

    out << "{\"pieces\": [\n";
    for (size_t i = 0; i < pieces.size(); ++i) {
        writePiece(out, pieces[i]);
        out << (i + 1 < pieces.size() ? ",\n" : "\n");
    }
    out << "], \"final_score\": " << state.score << "}\n";
    return SIM_EXIT_OK;
}
