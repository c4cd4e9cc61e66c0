// The start of a game as text and from a record.
#include "model/game/game_start.h"

#include "model/rules/game_random.h"

namespace {

constexpr char HEX_DIGITS[] = "0123456789abcdef";
constexpr size_t STATE_DIGITS = 8;

}  // namespace

bool parseGameStart(std::string_view text, GameStart& start) {
    if (text.size() != STATE_DIGITS + 3 || text[STATE_DIGITS] != '.') return false;
    uint32_t random = 0;
    for (size_t i = 0; i < STATE_DIGITS; ++i) {
        std::string_view digits(HEX_DIGITS);
        size_t digit = digits.find(text[i]);
        if (digit == std::string_view::npos) return false;
        random = random << 4 | static_cast<uint32_t>(digit);
    }
    char kind = text[STATE_DIGITS + 1];
    char rotation = text[STATE_DIGITS + 2];
    if (kind < '0' || kind > '6' || rotation < '0' || rotation > '3') return false;
    start = GameStart{random, kind - '0', rotation - '0'};
    return true;
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
