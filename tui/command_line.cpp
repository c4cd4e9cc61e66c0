// The options are rows of one table: a name, the value it takes (if any), its line in the
// usage and what it sets. A new option is a new row and, where it sets something, a field.
#include "tui/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tui/tui_texts.h"

namespace {

constexpr int EXIT_BAD_USAGE = 2;

struct OptionRow {
    const char* name;       // with its two dashes
    const char* valueName;  // as the usage shows the value, or nullptr: it takes none
    const char* help;       // its line in the usage
    void (*apply)(CommandLine& line, const char* value);  // value: nullptr without one
};

const OptionRow OPTIONS[] = {
    {"--help", nullptr, TEXT_OPTION_HELP,
     [](CommandLine& line, const char*) { line.launch = Launch::Help; }},
    {"--version", nullptr, TEXT_OPTION_VERSION,
     [](CommandLine& line, const char*) { line.launch = Launch::Version; }},
};

// An argument as a message may show it: control bytes as \xNN, so that it stays one line
// and sends the terminal nothing.
std::string shown(const char* argument) {
    std::string text;
    for (const char* at = argument; *at != '\0'; ++at) {
        auto byte = static_cast<unsigned char>(*at);
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        text += byte < 0x20 || byte == 0x7F ? escaped : std::string(1, *at);
    }
    return text;
}

CommandLine refused(const char* format, const char* argument) {
    std::string value = shown(argument);
    int size = std::snprintf(nullptr, 0, format, value.c_str());
    CommandLine line;
    line.launch = Launch::BadUsage;
    line.error.resize(size_t(size) + 1);
    std::snprintf(&line.error[0], line.error.size(), format, value.c_str());
    line.error.pop_back();
    return line;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int index = 1; index < argc && line.launch == Launch::Play; ++index) {
        const char* argument = argv[index];
        const char* equals = std::strchr(argument, '=');
        size_t nameLength = equals != nullptr ? size_t(equals - argument) : std::strlen(argument);
        const OptionRow* row = nullptr;
        for (const OptionRow& option : OPTIONS)
            if (std::strlen(option.name) == nameLength &&
                std::strncmp(option.name, argument, nameLength) == 0)
                row = &option;
        if (row == nullptr) return refused(TEXT_UNKNOWN_OPTION, argument);
        if (row->valueName == nullptr && equals != nullptr)
            return refused(TEXT_OPTION_WITHOUT_VALUE, row->name);
        const char* value = nullptr;
        if (row->valueName != nullptr) {
            value = equals != nullptr ? equals + 1 : index + 1 < argc ? argv[++index] : nullptr;
            if (value == nullptr) return refused(TEXT_OPTION_NEEDS_VALUE, row->name);
        }
        row->apply(line, value);
    }
    return line;
}

std::string usageText() {
    std::string text = TEXT_USAGE_HEAD;
    for (const OptionRow& option : OPTIONS) {
        std::string left = std::string("  ") + option.name;
        if (option.valueName != nullptr) left += std::string(" ") + option.valueName;
        left.resize(std::max<size_t>(left.size() + 2, 22), ' ');
        text += left + option.help + "\n";
    }
    return text + TEXT_USAGE_TAIL;
}

int answerCommandLine(const CommandLine& line) {
    if (line.launch == Launch::BadUsage) {
        std::fprintf(stderr, "kostrel-tui: %s\n%s", line.error.c_str(), usageText().c_str());
        return EXIT_BAD_USAGE;
    }
    std::string text = line.launch == Launch::Help
                           ? usageText()
                           : std::string("kostrel-tui ") + KOSTREL_VERSION + "\n" + TEXT_COPYRIGHT;
    bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : EXIT_BAD_USAGE;
}
