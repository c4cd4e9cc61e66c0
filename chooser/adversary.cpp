// The table of adversaries, the lookup by id, and each adversary's choice.
#include "chooser/adversary.h"

#include <algorithm>

#include "chooser/next_piece_chooser.h"
#include "chooser/preview_aware_chooser.h"
#include "model/rules/game_random.h"

namespace {

constexpr int32_t Z_KIND = 3;
constexpr int32_t S_KIND = 4;

}  // namespace

const AdversaryInfo ADVERSARIES[ADVERSARY_COUNT] = {
    {Adversary::Klasicky, "klasicky", "klasický"},
    {Adversary::Zly, "zly", "zlý"},
    {Adversary::Sz, "sz", "S a Z"},
    {Adversary::Nahodny, "nahodny", "náhodný"},
};

bool findAdversary(std::string_view id, Adversary& found) {
    for (const AdversaryInfo& info : ADVERSARIES) {
        if (id != info.id) continue;
        found = info.adversary;
        return true;
    }
    return false;
}

int32_t pickNextKind(Adversary adversary, const AdversaryMemory& memory, const MaskBoard& board,
                     int32_t fallingKind, uint32_t& random) {
    switch (adversary) {
    case Adversary::Zly: return choosePreviewAware(board, fallingKind, memory.boards);
    case Adversary::Sz: return fallingKind == Z_KIND ? S_KIND : Z_KIND;
    case Adversary::Nahodny: return nextGameRandom(random) % PIECE_KINDS;
    case Adversary::Klasicky: break;
    }
    return chooseNextKind(board, fallingKind);
}

bool adversaryGuardsLoops(Adversary adversary) { return adversary == Adversary::Zly; }

void rememberChoice(Adversary adversary, AdversaryMemory& memory, const MaskBoard& board,
                    int32_t fallingKind, int32_t chosen) {
    if (!adversaryGuardsLoops(adversary)) return;
    addSeen(memory.boards, packBoard(board));
    addSeen(memory.boards, packSurfaceChoice(board, fallingKind, chosen));
}

bool scoreKinds(Adversary adversary, const AdversaryMemory& memory, const MaskBoard& board,
                int32_t fallingKind, KindScores& scores, int32_t remembered) {
    if (adversary == Adversary::Klasicky) scores = scoreEveryKind(board, fallingKind);
    if (adversary == Adversary::Zly)
        scores = scorePreviewAware(board, fallingKind, memory.boards, remembered);
    return adversary == Adversary::Klasicky || adversary == Adversary::Zly;
}

bool kindHasNoAnswer(int32_t badness) {
    return badness >= std::min(NO_PLACEMENT_SCORE, NO_ANSWER_BADNESS);
}
