// `kostrel-sim replay`: the referee of a claimed score. The code on stdin is replayed as the
// editions play it, and its final board and numbers are printed.
#include <iterator>
#include <memory>
#include <string>

#include "model/session/replay_player.h"
#include "tools/sim/board_text.h"
#include "tools/sim/kostrel_sim.h"

int runReplay(const SimCall& call) {
    const std::string text{std::istreambuf_iterator<char>(call.in), {}};
    Replay replay;
    ReplayError error;
    auto player = std::make_unique<ReplayPlayer>();
    if (!readReplayCode(text, replay, error) || !replayGame(*player, replay, error)) {
        call.err << "kostrel-sim: " << replayErrorMessage(error) << '\n';
        return SIM_EXIT_BAD_INPUT;
    }
    writeBoardText(call.out, player->state);
    call.out << "adversary " << adversaryInfo(replay.adversary).id << "\nrows "
             << player->state.score << "\npieces " << player->pieces << "\nover "
             << (replayGameOver(*player) ? 1 : 0) << '\n';
    return SIM_EXIT_OK;
}
