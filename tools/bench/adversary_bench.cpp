// How long one choice of each adversary takes, over boards from real games: the boards that
// the depth-2 bot and the attacker met playing against `zly` and `klasicky`, each with the
// falling kind and the game's memory as they were. Prints the median and the 90th
// percentile in microseconds; each board is timed several times and its fastest time kept,
// so that a busy machine's interruptions do not count.
//
//     kostrel-adversary-bench [games] [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bot/bot_player.h"
#include "bot/placement_planner.h"
#include "chooser/adversary.h"
#include "model/game/pure_game.h"
#include "model/rules/board.h"
#include "tools/sim/attacker.h"

namespace {

struct Position {
    MaskBoard board;
    int32_t fallingKind;
    AdversaryMemory memory;  // the boards before this one, as the game's adversary had them
};

// The positions of a game played by `moves` from `start` against `adversary`, each as the
// adversary met it after the piece was fixed.
template <typename ChooseMove>
void collect(Adversary adversary, const GameStart& start, int64_t maxPieces,
             std::vector<Position>& positions, ChooseMove chooseMove) {
    PureGame game = startPureGame(start, adversary);
    for (int64_t piece = 0; piece < maxPieces && !game.over; ++piece) {
        Placement p;
        if (!chooseMove(game, p)) break;
        PureStep step = planStep(game, p.x, p.y, p.rotation);
        positions.push_back(Position{step.board, game.nextKind, game.memory});
        applyStep(game, step);
    }
}

// The depth-2 bot's placement, as it plays in `kostrel-sim bot`.
bool botMove(const PureGame& game, Placement& placement) {
    BotDecision decision = decidePlacement(botViewOfPureGame(game), defaultBotSettings());
    placement = decision.placement;
    return decision.found;
}

std::vector<Position> realPositions(int games) {
    std::vector<Position> positions;
    GameStart start = FRESH_PROGRAM_START;
    for (Adversary adversary : {Adversary::Zly, Adversary::Klasicky}) {
        for (int game = 0; game < games; ++game) {
            start.random = start.random * 2654435761u + 12345u;  // a start of its own each
            collect(adversary, start, 200, positions, botMove);
        }
        // The attacker's best game at beam 8, piece by piece.
        AttackResult best =
            attack(AttackSettings{adversary, 8, 200, &EVOLVED_WEIGHTS, FRESH_PROGRAM_START, 2});
        size_t at = 0;
        collect(adversary, FRESH_PROGRAM_START, 200, positions, [&](const PureGame&, Placement& p) {
            if (at == best.moves.size()) return false;
            p = best.moves[at++].placement;
            return true;
        });
    }
    return positions;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    int games = argc > 1 ? std::atoi(argv[1]) : 10;
    int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<Position> positions = realPositions(games);
    std::printf("%zu boards from real games, each timed %d times\n", positions.size(), repeats);
    for (const AdversaryInfo& info : ADVERSARIES) {
        std::vector<double> fastest(positions.size(), 1e300);
        int64_t checksum = 0;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            for (size_t i = 0; i < positions.size(); ++i) {
                const Position& p = positions[i];
                uint32_t random = 1;
                auto begin = std::chrono::steady_clock::now();
                checksum += pickNextKind(info.adversary, p.memory, p.board, p.fallingKind, random);
                double us = std::chrono::duration<double, std::micro>(
                                std::chrono::steady_clock::now() - begin)
                                .count();
                fastest[i] = std::min(fastest[i], us);
            }
        }
        std::printf("%-9s median %7.2f us  p90 %7.2f us  max %8.2f us  (checksum %lld)\n", info.id,
                    percentile(fastest, 0.5), percentile(fastest, 0.9), percentile(fastest, 1.0),
                    static_cast<long long>(checksum));
    }
    return 0;
}
