// Each adversary's store names, klasicky's those of the editions before the choice, and the
// remembered choice read back, or klasicky with a notice for anything unknown.
#include "model/session/adversary_stores.h"

#include <gtest/gtest.h>

namespace {

TEST(AdversaryStores, NamesAndTheRememberedChoice) {
    const struct {
        Adversary adversary;
        const char* names;  // file, its replay, entry, its replay
    } STORES[] = {
        {Adversary::Klasicky,
         "best-result best-result.replay kostrel-best-result kostrel-best-result-replay"},
        {Adversary::Zly,
         "best-result-zly best-result-zly.replay kostrel-best-result-zly "
         "kostrel-best-result-zly-replay"},
        {Adversary::Nahodny,
         "best-result-nahodny best-result-nahodny.replay "
         "kostrel-best-result-nahodny kostrel-best-result-nahodny-replay"},
    };
    for (const auto& store : STORES) {
        EXPECT_EQ(store.names, bestResultFileName(store.adversary) + " " +
                                   bestReplayFileName(store.adversary) + " " +
                                   bestResultEntryName(store.adversary) + " " +
                                   bestReplayEntryName(store.adversary));
    }

    for (const AdversaryInfo& info : ADVERSARIES) {
        const std::string stored = formatAdversaryChoice(info.adversary);
        for (const char* ending : {"", "\n", "\r\n"}) {
            Adversary read = Adversary::Zly;
            EXPECT_TRUE(readAdversaryChoice(stored + ending, read)) << info.id;
            EXPECT_EQ(read, info.adversary);
        }
    }
    for (const char* unknown : {"", "zlejsi", "ZLY", "zly\r", "zly\n\n", " zly", "zl\xc3\xbd"}) {
        Adversary read = Adversary::Zly;
        EXPECT_FALSE(readAdversaryChoice(unknown, read)) << unknown;
        EXPECT_EQ(read, Adversary::Klasicky);
    }
}

}  // namespace
