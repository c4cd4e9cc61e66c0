// The adversaries that a game can be played against, each with the id that command lines,
// stored choices and replay codes use, and the Czech name that players see.
#pragma once

#include <cstdint>
#include <string_view>

enum class Adversary : int32_t {
    Klasicky,  // the chooser of the Windows program; the default everywhere
    Zly,       // also beats a player who reads the preview
    Sz,        // S after Z, Z after any other kind
    Nahodny,   // every kind equally likely, from the game's random source
};
constexpr int ADVERSARY_COUNT = 4;
constexpr Adversary DEFAULT_ADVERSARY = Adversary::Klasicky;

struct AdversaryInfo {
    Adversary adversary;
    const char* id;    // lowercase ASCII letters
    const char* name;  // UTF-8
};

// In Adversary's order, so that ADVERSARIES[int(a)].adversary == a.
extern const AdversaryInfo ADVERSARIES[ADVERSARY_COUNT];

inline const AdversaryInfo& adversaryInfo(Adversary adversary) {
    return ADVERSARIES[static_cast<int>(adversary)];
}

// The adversary whose id is exactly `id`; false, with `found` untouched, for any other text.
bool findAdversary(std::string_view id, Adversary& found);
