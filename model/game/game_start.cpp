// The start of a game as text and from a record.
#include "model/game/game_start.h"

#include <utility>

#include "model/rules/game_random.h"

namespace {

constexpr char HEX_DIGITS[] = "0123456789abcdef";
constexpr size_t STATE_DIGITS = 8;
constexpr size_t QUOTED_MAX = 16;  // characters of a faulty part that a reason shows

bool refuse(GameStartFault& fault, std::string reason, size_t at) {
    fault.reason = std::move(reason);
    fault.at = at;
    return false;
}

}  // namespace

std::string_view partAt(std::string_view text, size_t at) {
    return text.substr(at, text.find('.', at) - at);
}

std::string quotedPart(std::string_view part) {
    std::string text = "\"";
    for (size_t index = 0; index < part.size() && index < QUOTED_MAX; ++index) {
        const auto byte = static_cast<unsigned char>(part[index]);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += static_cast<char>(byte);
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte >= 0x20 && byte < 0x7F) {
            text += static_cast<char>(byte);
        } else {
            text += "\\x";
            text += HEX_DIGITS[byte >> 4];
            text += HEX_DIGITS[byte & 15];
        }
    }
    if (part.size() > QUOTED_MAX) text += "...";
    return text + '"';
}

bool readGameStart(std::string_view text, GameStart& start, GameStartFault& fault) {
    const std::string_view state = partAt(text, 0);
    uint32_t random = 0;
    for (size_t index = 0; index < state.size(); ++index) {
        const char digit = state[index];
        const std::string_view shown = state.substr(index, 1);
        if (digit >= 'A' && digit <= 'F')
            return refuse(fault, "upper-case hex digit " + quotedPart(shown) + " in the state",
                          index);
        const size_t value = std::string_view(HEX_DIGITS).find(digit);
        if (value == std::string_view::npos)
            return refuse(fault, quotedPart(shown) + " in the state instead of a hex digit", index);
        random = random << 4 | static_cast<uint32_t>(value);
    }
    if (state.size() != STATE_DIGITS)
        return refuse(fault,
                      "state " + quotedPart(state) + " of " + std::to_string(state.size()) +
                          " hex digits instead of 8",
                      0);
    if (text.size() == STATE_DIGITS) return refuse(fault, "no \".\" after the state", STATE_DIGITS);

    const size_t at = STATE_DIGITS + 1;
    const std::string_view piece = partAt(text, at);
    if (!piece.empty() && (piece[0] < '0' || piece[0] > '6'))
        return refuse(fault, "kind " + quotedPart(piece.substr(0, 1)) + " instead of 0..6", at);
    if (piece.size() >= 2 && (piece[1] < '0' || piece[1] > '3'))
        return refuse(fault, "rotation " + quotedPart(piece.substr(1, 1)) + " instead of 0..3",
                      at + 1);
    if (piece.size() != 2)
        return refuse(fault, "kind and rotation " + quotedPart(piece) + " instead of two digits",
                      at);
    start = GameStart{random, piece[0] - '0', piece[1] - '0'};
    return true;
}

bool parseGameStart(std::string_view text, GameStart& start) {
    GameStartFault fault;
    return text.size() == GAME_START_LENGTH && readGameStart(text, start, fault);
}

std::string formatGameStart(const GameStart& start) {
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) text += HEX_DIGITS[(start.random >> shift) & 0xF];
    text += '.';
    text += static_cast<char>('0' + start.kind);
    text += static_cast<char>('0' + start.rotation);
    return text;
}

GameStart nextGameStart(const GameState& state) {
    return GameStart{gameRandomState(), state.nextKind, state.nextRotation};
}
