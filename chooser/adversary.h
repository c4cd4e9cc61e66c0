// The adversaries that a game can be played against, each with the id that command lines,
// stored choices and replay codes use, and the Czech name that players see.
#pragma once

#include <cstdint>
#include <string_view>

#include "chooser/kind_scores.h"
#include "chooser/seen_boards.h"
#include "model/rules/row_masks.h"

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

// What an adversary remembers of its game: the boards the game has had after each piece
// was fixed and its rows removed, the empty board it starts on included. Only `zly` keeps
// them; a new game starts with none.
struct AdversaryMemory {
    SeenBoards boards;
};

// The kind of the piece after `fallingKind`, which has just started to fall on `board`.
// `memory` holds the game's boards before this one. `random` is the game's random state:
// `nahodny` draws from it, the others leave it be. Deterministic in its arguments.
int32_t pickNextKind(Adversary adversary, const AdversaryMemory& memory, const MaskBoard& board,
                     int32_t fallingKind, uint32_t& random);

// The adversary keeps the game's boards and will not lead back to one (`zly`): a view of its
// choice can say how often each kind's answer was seen before.
bool adversaryGuardsLoops(Adversary adversary);

// Adds `board` and the choice made on it to the memory of an adversary that keeps one.
void rememberChoice(Adversary adversary, AdversaryMemory& memory, const MaskBoard& board,
                    int32_t fallingKind, int32_t chosen);

// For `klasicky` and `zly`: every kind scored in full as the adversary sees it, the chosen
// one named, as pickNextKind would choose with the same memory (the one before
// rememberChoice). A view that asks after the choice passes the memory as it is and the
// kind that rememberChoice was given as `remembered`, and that choice is left out of it.
// False for the two that choose without looking.
constexpr int32_t NOTHING_REMEMBERED = -1;
bool scoreKinds(Adversary adversary, const AdversaryMemory& memory, const MaskBoard& board,
                int32_t fallingKind, KindScores& scores, int32_t remembered = NOTHING_REMEMBERED);

// A scored kind's badness that says it has no place at all on the board: handing it out
// ends the game.
bool kindHasNoAnswer(int32_t badness);
