// What kostrel-sim's subcommands share on the command line: arguments shown safely in a
// message, whole-number counts, the adversaries' and weight sets' names, and a table-driven
// reading of "--name value" options with --help.
#pragma once

#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

#include "chooser/adversary.h"
#include "chooser/board_features.h"
#include "tools/sim/kostrel_sim.h"

// Longer than any word kostrel-sim takes; a longer one is shown cut, ending in "...".
constexpr size_t SHOWN_TEXT_LIMIT = 32;

// The text as one line of printable ASCII: any other byte as \xHH, cut after
// SHOWN_TEXT_LIMIT bytes (or when `cut` says a longer text was cut already).
std::string printable(std::string_view text, bool cut = false);

// A positive decimal count without sign, blanks or leading zeros, at most COUNT_LIMIT.
constexpr int64_t COUNT_LIMIT = 1000000000;
bool parseCount(std::string_view text, int64_t& value);
extern const std::string COUNT_EXPECTED;

// "klasicky, zly, sz or nahodny" and "evolved, hand-tuned or heights".
std::string adversaryChoices();
std::string weightChoices();

// The one-line refusal of bad usage, with the usage it broke; returns SIM_EXIT_BAD_INPUT.
int badUsage(std::ostream& err, const std::string& why, std::string_view usage);

// One "--name value" option of a subcommand whose settings are an `Options`, or a "--name"
// alone when it is a flag.
template <typename Options>
struct OptionRule {
    const char* name;
    std::string expected;  // what the value must be, for the message that refuses it
    bool (*apply)(std::string_view value, Options& options);  // a flag's value is ""
    bool flag = false;                                        // takes no value
};

// An option whose value names an adversary.
template <typename Options>
OptionRule<Options> adversaryOption() {
    return {"--adversary", adversaryChoices(),
            [](std::string_view value, Options& o) { return findAdversary(value, o.adversary); }};
}

// The settings of a subcommand whose one option names the adversary, and its rule.
struct AdversaryOptions {
    Adversary adversary = DEFAULT_ADVERSARY;
};
extern const OptionRule<AdversaryOptions> ADVERSARY_OPTIONS[1];

// Reads the call's "--name value" pairs and flags by the rules, each at most once.
// SIM_EXIT_OK when all were understood; otherwise the one-line refusal.
template <typename Options, size_t N>
int readOptions(const SimCall& call, const OptionRule<Options> (&rules)[N], Options& options) {
    std::string_view usage = call.usage;
    std::ostream& err = call.err;
    bool seen[N] = {};
    for (int i = 0; i < call.argc;) {
        std::string_view name = call.argv[i];
        size_t rule = 0;
        while (rule < N && name != rules[rule].name) ++rule;
        if (rule == N) return badUsage(err, "unknown option \"" + printable(name) + "\"", usage);
        std::string shown(name);
        if (seen[rule]) return badUsage(err, "option " + shown + " given twice", usage);
        seen[rule] = true;
        if (rules[rule].flag) {
            rules[rule].apply("", options);
            ++i;
            continue;
        }
        if (i + 1 >= call.argc) return badUsage(err, "option " + shown + " needs a value", usage);
        if (!rules[rule].apply(call.argv[i + 1], options))
            return badUsage(err,
                            "bad value \"" + printable(call.argv[i + 1]) + "\" for " + shown +
                                ", expected " + rules[rule].expected,
                            usage);
        i += 2;
    }
    return SIM_EXIT_OK;
}
