// The table of adversaries and the lookup by id.
#include "chooser/adversary.h"

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
