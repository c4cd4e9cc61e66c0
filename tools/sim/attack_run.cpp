// Option reading and the report of `kostrel-sim attack`.
#include <chrono>
#include <iomanip>
#include <thread>

#include "bot/bot_player.h"
#include "model/session/replay_code.h"
#include "tools/sim/attacker.h"
#include "tools/sim/kostrel_sim.h"
#include "tools/sim/sim_options.h"

namespace {

constexpr int64_t DEFAULT_MAX_PIECES = 1000;
constexpr int64_t BEAM_LIMIT = 1 << 16;

struct AttackOptions {
    bool adversaryGiven = false;
    Adversary adversary = DEFAULT_ADVERSARY;
    int64_t beam = 0;
    int64_t maxPieces = DEFAULT_MAX_PIECES;
    const NamedWeights* weights = &WEIGHT_SETS[0];
    GameStart start = FRESH_PROGRAM_START;
    bool replays = false;  // the game's code after its line
};

const OptionRule<AttackOptions> ATTACK_OPTIONS[] = {
    {"--adversary", adversaryChoices(),
     [](auto value, auto& o) { return o.adversaryGiven = findAdversary(value, o.adversary); }},
    {"--beam", "a whole number 1.." + std::to_string(BEAM_LIMIT),
     [](auto value, auto& o) { return parseCount(value, o.beam) && o.beam <= BEAM_LIMIT; }},
    {"--max-pieces", COUNT_EXPECTED,
     [](auto value, auto& o) { return parseCount(value, o.maxPieces); }},
    {"--weights", weightChoices(),
     [](auto value, auto& o) { return (o.weights = findWeights(value)) != nullptr; }},
    {"--start", "8 lowercase hex digits, '.', a kind 0..6 and a rotation 0..3",
     [](auto value, auto& o) { return parseGameStart(value, o.start); }},
    {"--replays", "", [](auto, auto& o) { return o.replays = true; }, true},
};

// The attacker's game as a replay code, which `kostrel-sim replay` and the editions replay to
// the same end: each piece's keys, then the step down that fixes it.
Replay attackReplay(const AttackSettings& settings, const AttackResult& result) {
    Replay replay{settings.adversary, settings.start, ""};
    for (const AttackMove& move : result.moves) {
        for (BotMove key : move.keys) recordReplayEvents(replay, botMoveEvent(key));
        recordReplayEvents(replay, ReplayEvent::Down);
    }
    return replay;
}

}  // namespace

int runAttack(const SimCall& call) {
    AttackOptions options;
    int status = readOptions(call, ATTACK_OPTIONS, options);
    if (status != SIM_EXIT_OK) return status;
    if (!options.adversaryGiven) return badUsage(call.err, "--adversary is needed", call.usage);
    if (options.beam == 0) return badUsage(call.err, "--beam is needed", call.usage);

    AttackSettings settings{
        options.adversary, static_cast<int>(options.beam),
        options.maxPieces, &options.weights->weights,
        options.start,     static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))};
    call.out << "adversary " << adversaryInfo(options.adversary).id << " beam " << options.beam
             << " weights " << options.weights->name << " start " << formatGameStart(options.start)
             << std::endl;
    auto begin = std::chrono::steady_clock::now();
    AttackResult result = attack(settings);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    call.out << "rows " << result.rows << " pieces " << result.pieces
             << (result.over ? " ended" : " running") << '\n';
    if (options.replays) call.out << writeReplayCode(attackReplay(settings, result)) << '\n';
    call.out << "placements " << result.placementsTried << " seconds " << std::fixed
             << std::setprecision(1) << seconds << " pieces/s "
             << (seconds > 0 ? result.pieces / seconds : 0.0) << " placements/s "
             << std::setprecision(0) << (seconds > 0 ? result.placementsTried / seconds : 0.0)
             << '\n';
    return SIM_EXIT_OK;
}
