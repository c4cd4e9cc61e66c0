// The options are rows of one table: a name, the value it takes (if any), its line in the
// usage and what it sets. A new option is a new row and, where it sets something, a field.
#include "tui/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tui/formatted_text.h"
#include "tui/tui_texts.h"

std::string shownArgument(const char* argument) {
    std::string text;
    for (const char* at = argument; *at != '\0'; ++at) {
        auto byte = static_cast<unsigned char>(*at);
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        text += byte < 0x20 || byte == 0x7F ? escaped : std::string(1, *at);
    }
    return text;
}

namespace {

constexpr int EXIT_BAD_USAGE = 2;
constexpr size_t USAGE_INDENT = 22;  // where each option's help begins

struct OptionRow {
    const char* name;       // with its two dashes
    const char* valueName;  // as the usage shows the value, or nullptr: it takes none
    const char* help;       // its lines in the usage
    void (*apply)(CommandLine& line, const char* value);  // value: nullptr without one
};

// A refusal, formatted with the argument as shown and what more it says.
CommandLine refused(const char* format, const char* argument, const std::string& more = "") {
    CommandLine line;
    line.launch = Launch::BadUsage;
    line.error = formatText(format, shownArgument(argument).c_str(), more.c_str());
    return line;
}

// The valid ids, as an unknown one's refusal names them.
std::string adversaryIds() {
    std::string ids;
    for (const AdversaryInfo& info : ADVERSARIES)
        ids += (ids.empty() ? "" : ", ") + std::string(info.id);
    return ids;
}

const OptionRow OPTIONS[] = {
    {"--adversary", "ID", TEXT_OPTION_ADVERSARY,
     [](CommandLine& line, const char* value) {
         line.adversaryGiven = findAdversary(value, line.adversary);
         if (!line.adversaryGiven) line = refused(TEXT_UNKNOWN_ADVERSARY, value, adversaryIds());
     }},
    {"--replay", TEXT_OPTION_REPLAY_VALUE, TEXT_OPTION_REPLAY,
     [](CommandLine& line, const char* value) {
         line.replayGiven = true;
         line.replayFile = value;
     }},
    {"--help", nullptr, TEXT_OPTION_HELP,
     [](CommandLine& line, const char*) { line.launch = Launch::Help; }},
    {"--version", nullptr, TEXT_OPTION_VERSION,
     [](CommandLine& line, const char*) { line.launch = Launch::Version; }},
};

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
        left.resize(std::max<size_t>(left.size() + 2, USAGE_INDENT), ' ');
        // A help of several lines goes on under its first.
        for (const char* line = option.help; *line != '\0';) {
            const char* end = std::strchr(line, '\n');
            if (end == nullptr) end = line + std::strlen(line);
            text += left + std::string(line, end) + "\n";
            left.assign(USAGE_INDENT, ' ');
            line = *end == '\n' ? end + 1 : end;
        }
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
