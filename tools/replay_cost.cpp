// kostrel-replay-cost: what watching a replay costs next to playing its game, on the session
// with a made-up front end and clock. A game is played as a person plays: the bot's keys
// 50 ms apart, the fall timer's ticks doing the falling. Its code is then watched at speed
// 1 and at 64. For each, the session calls and the front end's wake-ups per second of game time,
// and the processor time those calls took; and the code's length per piece.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bot/bot_player.h"
#include "model/session/game_session.h"

namespace {

constexpr int64_t KEY_SPACING_MS = 50;
constexpr int64_t NO_ALARM = -1;

struct FrontEnd {
    int64_t alarm = NO_ALARM;
    bool over = false;
};

FrontEnd& frontEndOf(void* context) { return *static_cast<FrontEnd*>(context); }
void setAlarm(void* context, int64_t atMs) { frontEndOf(context).alarm = atMs; }
void clearAlarm(void* context) { frontEndOf(context).alarm = NO_ALARM; }
void repaint(void*) {}
StoredResult readBest(void*, BestResult&) { return StoredResult::None; }
void gameEnded(void* context, int32_t, bool) { frontEndOf(context).over = true; }
void watchEnded(void* context, int32_t) { frontEndOf(context).over = true; }

struct Cost {
    int64_t wakeups = 0;  // of the front end: a key or an alarm
    std::clock_t cpu = 0;
    int64_t ms = 0;  // game time
};

template <typename Call>
void timed(Cost& cost, Call call) {
    const std::clock_t start = std::clock();
    call();
    cost.cpu += std::clock() - start;
    ++cost.wakeups;
}

void report(const char* what, const Cost& cost) {
    const double seconds = static_cast<double>(cost.ms) / 1000;
    std::printf(
        "%s: %.0f s of game time, %.2f session calls and wake-ups a second, %.1f us of "
        "processor time a second\n",
        what, seconds, static_cast<double>(cost.wakeups) / seconds,
        1e6 * static_cast<double>(cost.cpu) / CLOCKS_PER_SEC / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    const int64_t pieceLimit = argc > 1 ? std::atoll(argv[1]) : 300;
    static GameSession session;
    FrontEnd frontEnd;
    startSession(session, SessionFrontEnd{&frontEnd, setAlarm, clearAlarm, repaint, readBest,
                                          gameEnded, watchEnded});
    const BotSettings settings = defaultBotSettings();
    constexpr SessionKey KEYS[] = {SessionKey::MoveLeft, SessionKey::MoveRight, SessionKey::Rotate};

    Cost playing;
    int64_t now = 0;
    auto tick = [&] {
        now = frontEnd.alarm;
        timed(playing, [&] { sessionTick(session, now); });
    };
    timed(playing, [&] { sessionKey(session, SessionKey::NewGame, now); });
    int64_t pieces = 0;
    for (; !frontEnd.over && pieces < pieceLimit; ++pieces) {
        const BotDecision decision =
            decidePlacement(botViewOfGame(session.state, session.adversary), settings);
        // The keys up to each step down are pressed after a tick, and the tick after them is
        // the step down, so that no tick comes between.
        for (size_t move = 0; move <= decision.moves.size(); ++move) {
            const bool placed = move == decision.moves.size();
            const GameState& state = session.state;
            if (placed &&
                (state.pieceX != decision.placement.x || state.pieceY != decision.placement.y ||
                 state.pieceRotation != decision.placement.rotation)) {
                std::fprintf(stderr, "kostrel-replay-cost: piece %lld off its placement\n",
                             static_cast<long long>(pieces + 1));
                return 1;
            }
            if (placed || decision.moves[move] == BOT_DOWN) {
                tick();
                continue;
            }
            now += KEY_SPACING_MS;
            timed(playing, [&] { sessionKey(session, KEYS[decision.moves[move]], now); });
        }
    }
    playing.ms = now;
    const std::string code = sessionReplayCode(session);

    Replay replay;
    ReplayError error;
    if (!readReplayCode(code, replay, error)) return 1;
    Cost watching[2];  // at speed 1 and 64
    for (int fast = 0; fast < 2; ++fast) {
        frontEnd.over = false;
        sessionWatchKey(session, WatchKey::Stop, now = 0);
        if (!startSessionWatch(session, replay, now, error)) {
            std::fprintf(stderr, "kostrel-replay-cost: %s\n", replayErrorMessage(error).c_str());
            return 1;
        }
        for (int faster = 0; fast == 1 && faster < WATCH_SPEED_FASTEST; ++faster)
            sessionWatchKey(session, WatchKey::Faster, now);
        while (!frontEnd.over && frontEnd.alarm != NO_ALARM) {
            now = frontEnd.alarm;
            timed(watching[fast], [&] { sessionTick(session, now); });
        }
        watching[fast].ms = now;
    }

    std::printf(
        "a game of %lld pieces played with the keys 50 ms apart and the timer's ticks: "
        "code of %zu characters, %.2f a piece\n",
        static_cast<long long>(pieces), code.size(),
        static_cast<double>(code.size()) / static_cast<double>(pieces));
    report("playing", playing);
    report("watching at speed 1", watching[0]);
    report("watching at speed 64", watching[1]);
    return 0;
}
