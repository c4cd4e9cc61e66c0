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
#include "tools/sim/sim_options.h"

namespace {

// Handles the model sees for the two stand-in windows.
constexpr uint32_t SCORE_LABEL_WINDOW = 1;
constexpr uint32_t PREVIEW_WINDOW = 2;

// Longer than any command; a longer token is bad input and is shown cut.
constexpr size_t TOKEN_LIMIT = SHOWN_TEXT_LIMIT;

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

struct Token {
    std::string text;
    bool cut = false;
    int64_t line = 1;  // 64 bits: input of any length is counted without overflow
    int64_t column = 1;
};

// Reads the next token; false at the end of input.
bool readToken(std::streambuf& source, int64_t& line, int64_t& column, Token& token) {
    constexpr int END = std::char_traits<char>::eof();
    int character;
    for (;;) {
        character = source.sgetc();
        if (character == END) return false;
        if (!std::isspace(character)) break;
        source.sbumpc();
        if (character == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    token = Token{};
    token.line = line;
    token.column = column;
    while ((character = source.sgetc()) != END && !std::isspace(character)) {
        source.sbumpc();
        ++column;
        if (token.text.size() < TOKEN_LIMIT)
            token.text.push_back(static_cast<char>(character));
        else
            token.cut = true;
    }
    return true;
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

int runPlaySession(const SimCall& call) {
    AdversaryOptions options;
    int status = readOptions(call, ADVERSARY_OPTIONS, options);
    if (status != SIM_EXIT_OK) return status;
    std::ostream& out = call.out;
    GameState state;
    RecordingHost recording;
    recording.adversary.adversary = options.adversary;
    GameHost host = recordingHostOf(recording);

    // What the real program does before the player can act: create the record, then link
    // the score label and the preview, in that order.
    initGameState(state);
    applyGameCommand(state, host, CMD_SET_SCORE_LABEL, SCORE_LABEL_WINDOW);
    applyGameCommand(state, host, CMD_SET_PREVIEW, PREVIEW_WINDOW);

    int64_t line = 1;
    int64_t column = 1;
    Token token;
    while (readToken(*call.in.rdbuf(), line, column, token)) {
        auto command = std::find_if(std::begin(COMMANDS), std::end(COMMANDS), [&](const auto& c) {
            return !token.cut && token.text == c.name;
        });
        if (command == std::end(COMMANDS)) {
            out.flush();  // what was printed before stays printed
            call.err << "kostrel-sim: unknown command \"" << printable(token.text, token.cut)
                     << "\" at line " << token.line << ", column " << token.column << '\n';
            status = SIM_EXIT_BAD_INPUT;
            break;
        }
        if (command->code == SHOW) {
            showState(out, state, recording);
            continue;
        }
        int32_t answer = applyGameCommand(state, host, command->code, 0);
        if (command->code == CMD_GET_SCORE) out << "score " << answer << '\n';
    }
    out.flush();
    return status;
}
