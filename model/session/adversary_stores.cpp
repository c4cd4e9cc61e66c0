// The names of each adversary's stores and the form of the stored choice.
#include "model/session/adversary_stores.h"

namespace {

// "" for klasicky, "-ID" for the others.
std::string idSuffix(Adversary adversary) {
    if (adversary == Adversary::Klasicky) return "";
    return std::string("-") + adversaryInfo(adversary).id;
}

}  // namespace

std::string bestResultFileName(Adversary adversary) { return "best-result" + idSuffix(adversary); }

std::string bestReplayFileName(Adversary adversary) {
    return bestResultFileName(adversary) + ".replay";
}

std::string bestResultEntryName(Adversary adversary) {
    return "kostrel-best-result" + idSuffix(adversary);
}

std::string bestReplayEntryName(Adversary adversary) {
    return bestResultEntryName(adversary) + "-replay";
}

bool isBestResultGame(const Replay& replay, int32_t finalScore, Adversary adversary,
                      int32_t storedScore) {
    return replay.adversary == adversary && finalScore == storedScore;
}

std::string formatAdversaryChoice(Adversary adversary) { return adversaryInfo(adversary).id; }

bool readAdversaryChoice(std::string_view stored, Adversary& adversary) {
    if (!stored.empty() && stored.back() == '\n') {
        stored.remove_suffix(1);
        if (!stored.empty() && stored.back() == '\r') stored.remove_suffix(1);
    }
    adversary = DEFAULT_ADVERSARY;
    return findAdversary(stored, adversary);
}
