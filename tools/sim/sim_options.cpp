// Showing arguments, counts and names for kostrel-sim's command line.
#include "tools/sim/sim_options.h"

#include <charconv>
#include <cstdio>

std::string printable(std::string_view text, bool cut) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == SHOWN_TEXT_LIMIT) {
            cut = true;
            break;
        }
        char character = text[i];
        if (character >= 0x20 && character <= 0x7E) {
            shown.push_back(character);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", character & 0xFF);
            shown += escape;
        }
    }
    return cut ? shown + "..." : shown;
}

bool parseCount(std::string_view text, int64_t& value) {
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '1' || text[0] > '9') return false;
    std::from_chars_result read = std::from_chars(text.data(), end, value);
    return read.ec == std::errc() && read.ptr == end && value <= COUNT_LIMIT;
}

const std::string COUNT_EXPECTED = "a whole number 1.." + std::to_string(COUNT_LIMIT);

namespace {

// "a, b, c or d"
template <typename Name, size_t N>
std::string listed(const Name (&items)[N]) {
    std::string text;
    for (size_t i = 0; i < N; ++i)
        text += std::string(i == 0 ? "" : i + 1 == N ? " or " : ", ") + items[i].id;
    return text;
}

}  // namespace

std::string adversaryChoices() { return listed(ADVERSARIES); }

std::string weightChoices() {
    struct Id {
        const char* id;
    } ids[WEIGHT_SET_COUNT];
    for (int i = 0; i < WEIGHT_SET_COUNT; ++i) ids[i].id = WEIGHT_SETS[i].name;
    return listed(ids);
}

int badUsage(std::ostream& err, const std::string& why, std::string_view usage) {
    err << "kostrel-sim: " << why << "; usage: " << usage << '\n';
    return SIM_EXIT_BAD_INPUT;
}

const OptionRule<AdversaryOptions> ADVERSARY_OPTIONS[1] = {adversaryOption<AdversaryOptions>()};
