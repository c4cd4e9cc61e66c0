// The best result's file read and saved through the kept files' lock and rename; its form
// is the library's. A save looks at the stored score again under the lock, just before its
// rename.
#include "tui/best_result_file.h"

#include <unistd.h>

#include "tui/kept_file.h"

namespace {

constexpr size_t FILE_LIMIT = 4096;  // a larger file is not a best-result file

}  // namespace

StoredResult readBestResultFile(const std::string& path, BestResult& result) {
    std::string content;
    switch (readKeptFile(path, FILE_LIMIT, content)) {
    case KeptRead::Unreadable: return StoredResult::Unreadable;
    case KeptRead::Found:
        return parseBestResult(content, result) ? StoredResult::Found : StoredResult::None;
    case KeptRead::Missing:
    case KeptRead::TooLarge: break;
    }
    return StoredResult::None;
}

SaveOutcome saveBestResult(const std::string& path, const BestResult& result, BestGameFile* game,
                           BestResult* stored, int lockWaitMs) {
    // A result without the stored form is refused before anything is touched.
    if (saveOutcome(result, StoredResult::None, BestResult{}) != SaveOutcome::Saved)
        return SaveOutcome::Failed;
    int lock = lockKeptFile(path, lockWaitMs);
    if (lock < 0) return SaveOutcome::Failed;
    BestResult found;
    SaveOutcome outcome = saveOutcome(result, readBestResultFile(path, found), found);
    if (outcome == SaveOutcome::Beaten && stored != nullptr) *stored = found;
    if (outcome == SaveOutcome::Saved && !replaceKeptFile(path, formatBestResult(result)))
        outcome = SaveOutcome::Failed;
    if (outcome == SaveOutcome::Saved && game != nullptr) {
        game->written = replaceKeptFile(game->path, game->code + "\n");
        if (!game->written) unlink(game->path.c_str());
    }
    unlockKeptFile(lock);
    return outcome;
}
