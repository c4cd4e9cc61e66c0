// Replay files read through the kept files' reader, and replayed by the library's player.
#include "tui/replay_file.h"

#include "model/session/replay_player.h"
#include "tui/kept_file.h"

namespace {

// 64 MiB: a code of a game that ran for days, and still little memory.
constexpr size_t REPLAY_FILE_LIMIT = size_t(1) << 26;

}  // namespace

ReplayFileRead readReplayFile(const std::string& path, ReplayFile& file) {
    std::string content;
    switch (readKeptFile(path, REPLAY_FILE_LIMIT, content)) {
    case KeptRead::Missing: return ReplayFileRead::Missing;
    case KeptRead::Unreadable: return ReplayFileRead::Unreadable;
    case KeptRead::TooLarge: return ReplayFileRead::TooLarge;
    case KeptRead::Found: break;
    }
    ReplayError error;
    if (!readReplayCode(content, file.replay, error) ||
        !replayFinalScore(file.replay, file.score, error)) {
        file.why = replayErrorMessage(error);
        return ReplayFileRead::Bad;
    }
    return ReplayFileRead::Found;
}
