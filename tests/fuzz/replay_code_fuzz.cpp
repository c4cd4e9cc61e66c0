// libFuzzer target: the replay code's reader on any bytes. It never crashes or hangs; it
// refuses with a reason at a character of the text or just past its end; and a code that it
// accepts writes back the same, also when recorded again run by run from what it read, so
// that no second spelling of a game gets through.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/session/replay_code.h"

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
    return 0;
}
