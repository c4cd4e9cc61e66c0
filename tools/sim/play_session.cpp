// Reads whitespace-separated commands to the end of input and applies each to the game as
// the board view would: through the controller, with a host that records what it is asked.
#include "tools/sim/kostrel_sim.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "model/game/game_command.h"
#include "model/game/game_controller.h"
#include "model/game/recording_host.h"
#include "tools/sim/board_text.h"

namespace {

// Handles the model sees for the two stand-in windows.
constexpr uint32_t SCORE_LABEL_WINDOW = 1;
constexpr uint32_t PREVIEW_WINDOW = 2;

// Longer than any command; a longer word is bad input and is shown cut.
constexpr size_t WORD_LIMIT = 32;
// The C locale's white space but the line feed, which ends a line.
bool isBlank(char character) {
    return character != '\n' && std::isspace(static_cast<unsigned char>(character));
}

void showState(std::ostream& out, const GameState& state, const RecordingHost& host) {
    writeBoardText(out, state);
    out << "piece " << state.pieceKind << ' ' << state.pieceRotation << ' ' << state.pieceX << ' '
        << state.pieceY << '\n'
        << "next " << state.nextKind << ' ' << state.nextRotation << '\n'
        << "score " << state.score << '\n'
        << "running " << (state.timerId != 0 ? 1 : 0) << '\n'
        << "paused " << (state.paused != 0 ? 1 : 0) << '\n'
        << "label " << host.labelText << '\n'
        << "preview " << host.previewWord << '\n'
        << "host starts " << host.starts << " stops " << host.stops << " gameovers "
        << host.gameOvers << " repaints " << host.repaints << '\n';
}

// The word as a message shows it: cut after WORD_LIMIT bytes, each byte that is not
// printable ASCII written as \xNN.
std::string printable(const std::string& word) {
    std::string shown;
    for (char character : word.substr(0, WORD_LIMIT)) {
        if (character >= 0x20 && character <= 0x7E) {
            shown.push_back(character);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", character & 0xFF);
            shown += escape;
        }
    }
    return word.size() > WORD_LIMIT ? shown + "..." : shown;
}

// The board view's command for each word; "show" has none. A tick is delivered whether or
// not a timer runs: the controller's gate decides, as it does for a late WM_TIMER in the
// real program.
constexpr uint32_t SHOW = 0;
const struct {
    const char* name;
    uint32_t code;
} COMMANDS[] = {
    {"new", CMD_NEW_GAME},  {"left", CMD_MOVE_LEFT}, {"right", CMD_MOVE_RIGHT},
    {"rotate", CMD_ROTATE}, {"down", CMD_STEP_DOWN}, {"tick", CMD_STEP_DOWN},
    {"pause", CMD_PAUSE},   {"resume", CMD_RESUME},  {"score", CMD_GET_SCORE},
    {"show", SHOW},
};

}  // namespace

int runPlaySession(std::istream& in, std::ostream& out, std::ostream& err) {
    GameState state;
    RecordingHost recording;
    GameHost host = recordingHostOf(recording);

    // What the real program does before the player can act: create the record, then link
    // the score label and the preview, in that order.
    initGameState(state);
    applyGameCommand(state, host, CMD_SET_SCORE_LABEL, SCORE_LABEL_WINDOW);
    applyGameCommand(state, host, CMD_SET_PREVIEW, PREVIEW_WINDOW);

    std::string text;
    int64_t line = 0;                // 64 bits: input of any length is counted without overflow
    std::istream lines(in.rdbuf());  // not tied to `out`: no flush before each line
    while (std::getline(lines, text)) {
        ++line;
        for (auto start = text.begin(), end = start;
             (start = std::find_if_not(end, text.end(), isBlank)) != text.end();) {
            end = std::find_if(start, text.end(), isBlank);
            std::string word(start, end);
            auto command = std::find_if(std::begin(COMMANDS), std::end(COMMANDS),
                                        [&](const auto& c) { return word == c.name; });
            if (command == std::end(COMMANDS)) {
                out.flush();  // what was printed before stays printed
                err << "kostrel-sim: unknown command \"" << printable(word) << "\" at line " << line
                    << ", column " << start - text.begin() + 1 << '\n';
                return SIM_EXIT_BAD_INPUT;
            }
            if (command->code == SHOW) {
                showState(out, state, recording);
                continue;
            }
            int32_t answer = applyGameCommand(state, host, command->code, 0);
            if (command->code == CMD_GET_SCORE) out << "score " << answer << '\n';
        }
    }
    out.flush();
    return SIM_EXIT_OK;
}
