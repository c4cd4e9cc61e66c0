// libFuzzer target: the replay code's reader and replayer on any bytes. The reader never
// crashes or hangs; it refuses with a reason at a character of the text or just past its
// end; and a code that it accepts writes back the same, also when recorded again run by run
// from what it read, so that no second spelling of a game gets through. A code that reads
// back replays twice to the same end, the second time event by event without skipping the
// runs that change nothing, and leaves the process-wide random state as it found it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <cstring>
#include <memory>

#include "model/rules/game_random.h"
#include "model/session/replay_code.h"
#include "model/session/replay_player.h"

namespace {

// A broken promise ends the run as a crash, which libFuzzer reports with its input.
void require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "replay_code_fuzz: %s\n", promise);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    ReplayError error;
    if (!readReplayCode(text, replay, error)) {
        require(!error.reason.empty(), "a refusal has a reason");
        require(error.position >= 1 && error.position <= size + 1,
                "a refusal points into the text");
        return 0;
    }
    const std::string code = writeReplayCode(replay);
    require(text == code || text == code + "\n" || text == code + "\r\n",
            "a code read back writes back the same, without its line end");

    Replay again{replay.adversary, replay.start, ""};
    ReplayRunCursor cursor = replayRunCursor(replay);
    for (ReplayRun run; nextReplayRun(cursor, run);) {
        require(
            run.position <= code.size() && code[run.position - 1] == static_cast<char>(run.event),
            "a run's position is that of its letter");
        recordReplayEvents(again, run.event, run.count);
    }
    require(writeReplayCode(again) == code, "the runs recorded again spell the same code");

    const uint32_t random = gameRandomState();
    auto first = std::make_unique<ReplayPlayer>();
    auto second = std::make_unique<ReplayPlayer>();
    ReplayError firstError;
    ReplayError secondError;
    const bool firstEnds = replayGame(*first, replay, firstError);
    startReplayPlayer(*second, replay);
    bool secondEnds = true;
    // Event by event only where that stays quick: every count at its most is 8 million.
    for (int64_t played = 0; secondEnds && !replayFinished(*second); ++played) {
        if (played == 200000) {
            secondEnds = playReplayToEnd(*second, secondError);
            break;
        }
        secondEnds = playReplayEvent(*second, secondError);
    }
    require(gameRandomState() == random, "a replay leaves the random state as it was");
    require(firstEnds == secondEnds, "a code replays or is refused alike both times");
    if (!firstEnds) {
        require(
            firstError.reason == secondError.reason && firstError.position == secondError.position,
            "a refused replay is refused for the same reason at the same character");
        return 0;
    }
    require(std::memcmp(first->state.cells, second->state.cells, sizeof first->state.cells) == 0 &&
                first->state.score == second->state.score && first->pieces == second->pieces &&
                replayGameOver(*first) == replayGameOver(*second),
            "a code replays twice to the same end");
    return 0;
}
