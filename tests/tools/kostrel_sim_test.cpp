// kostrel-sim in-process: the subcommands' output, bot runs that repeat to the last number,
// the board text it reads and writes, and the refusal of bad usage and input, each bad board
// with a reason and its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

#include "board_builder.h"
#include "model/rules/game_random.h"
#include "model/session/replay_player.h"
#include "tools/sim/attacker.h"
#include "tools/sim/board_text.h"
#include "tools/sim/kostrel_sim.h"

namespace {

struct SimRun {
    int status;
    std::string out;
    std::string err;
};

SimRun sim(std::vector<const char*> arguments, const std::string& input) {
    restoreGameRandomState(1);  // each run is a fresh program
    arguments.insert(arguments.begin(), "kostrel-sim");
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    int status = runKostrelSim(static_cast<int>(arguments.size()), arguments.data(), in, out, err);
    return {status, out.str(), err.str()};
}

std::string emptyLines(int count, const char* ending = "\n") {
    std::string text;
    for (int line = 0; line < count; ++line) text += std::string("..........") + ending;
    return text;
}

std::string board(const std::string& bottomRow) { return emptyLines(19) + bottomRow + "\n"; }

const std::string EMPTY_GRID = board("..........");

TEST(KostrelSim, EvalAndChoose) {
    EXPECT_EQ("29\n", sim({"eval"}, board("####.#####")).out);
    SimRun chosen = sim({"choose", "0"}, board("#########."));
    EXPECT_EQ(0, chosen.status);
    EXPECT_EQ("3\n", chosen.out);
    SimRun bad = sim({"choose", "3"}, board("####.####"));
    EXPECT_EQ(2, bad.status);
    EXPECT_EQ("kostrel-sim: bad board: line 20: 9 cells, expected 10\n", bad.out + bad.err);
}

TEST(KostrelSim, PlayShowsTheLinkedWindowsAndTheHost) {
    // Before the first game no command moves the piece or reaches the host.
    SimRun run = sim({"play"}, "left right rotate down tick show score new show\n");
    ASSERT_EQ(0, run.status) << run.err;
    const std::string before = EMPTY_GRID +
                               "piece 6 0 -10 0\nnext 0 0\nscore 0\nrunning 0\npaused 0\n"
                               "label 0\npreview 0\nhost starts 0 stops 0 gameovers 0 repaints 0\n";
    const std::string after = EMPTY_GRID +
                              "piece 0 0 4 0\nnext 0 2\nscore 0\nrunning 1\npaused 0\n"
                              "label 0\npreview 131072\nhost starts 1 stops 0 gameovers 0 "
                              "repaints 1\n";
    EXPECT_EQ(before + "score 0\n" + after, run.out);
}

bool parse(const std::string& text, GameState& state, std::string& error) {
    std::istringstream in(text);
    state = freshRecord();
    return readBoardText(in, state, error);
}

TEST(BoardText, RoundTripsAndAcceptsTheAllowedEndings) {
    GameState state = freshRecord();
    setRow(state, 0, "#........#");
    setRow(state, 19, "##.#######");
    std::ostringstream out;
    writeBoardText(out, state);
    const std::string text = out.str();

    for (const std::string& variant :
         {text, text.substr(0, text.size() - 1), text + "\n\n\r\n", emptyLines(20, "\r\n")}) {
        GameState parsed;
        std::string error;
        EXPECT_TRUE(parse(variant, parsed, error)) << error;
    }
    GameState parsed;
    std::string error;
    ASSERT_TRUE(parse(text, parsed, error));
    EXPECT_EQ(filledCells(state), filledCells(parsed));
}

TEST(BoardText, RefusesEverythingElseNamingTheLine) {
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "line 1: the board ends after 0 of 20 lines"},
        {emptyLines(19), "line 20: the board ends after 19 of 20 lines"},
        {emptyLines(3) + ".........\n", "line 4: 9 cells, expected 10"},
        {emptyLines(3) + "...........\n", "line 4: more than 10 cells"},
        {emptyLines(2) + "....x.....\n", "line 3, column 5: 'x' is not '.' or '#'"},
        {emptyLines(2) + "....\t.....\n", "line 3, column 5: byte 0x09"},
        {emptyLines(1) + "..........\r.", "line 2: carriage return not followed by a line feed"},
        {emptyLines(20) + "..........\n", "line 21: text after the 20 board lines"},
        {emptyLines(20) + "\n \n", "line 22: text after the 20 board lines"},
        {emptyLines(5) + "....", "line 6: 4 cells, expected 10"},
        {emptyLines(5) + "..........", "line 6: the board ends after 6 of 20 lines"},
    };
    for (const auto& bad : cases) {
        GameState parsed;
        std::string error;
        EXPECT_FALSE(parse(bad.text, parsed, error)) << bad.reason;
        EXPECT_NE(std::string::npos, error.find(bad.reason)) << "got: " << error;
    }
}

// A bot run's output without its speed, the only thing allowed to differ between runs.
std::string botGames(std::vector<const char*> options) {
    options.insert(options.begin(), "bot");
    SimRun run = sim(options, "");
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    return run.out.substr(0, run.out.rfind(" pieces/s "));
}

TEST(KostrelSim, BotRunsGiveTheSameNumbersEveryTime) {
    for (const char* adversary : {"klasicky", "nahodny"})
        EXPECT_EQ(botGames({"--games", "3", "--max-pieces", "60", "--adversary", adversary}),
                  botGames({"--adversary", adversary, "--max-pieces", "60", "--games", "3"}));
    // A game stopped alive at the piece limit says so.
    std::string capped = botGames({"--games", "2", "--max-pieces", "40", "--adversary", "nahodny"});
    EXPECT_NE(std::string::npos, capped.find(" pieces 40 capped\ngame 2 ")) << capped;
    // The first game of a program always starts the same way and ends the same way.
    EXPECT_EQ("game 1 rows 10 pieces 65\ngames 1 rows mean 10.00 median 10 max 10",
              botGames({"--depth", "2"}));
}

// What kostrel-sim replay prints of a code after its grid.
std::string replayed(const std::string& code) {
    SimRun run = sim({"replay"}, code + "\n");
    EXPECT_EQ(0, run.status) << run.err;
    return run.out.substr(run.out.find("adversary "));
}

// The bot's games recorded and the attacker's game found replay to what they reported, and
// recording changes no decision.
TEST(KostrelSim, BotAndAttackerGamesReplayToTheirNumbers) {
    for (const char* adversary : {"klasicky", "zly", "sz"}) {
        const std::vector<const char*> options = {"--games",     "2",       "--max-pieces", "150",
                                                  "--adversary", adversary, "--depth",      "1"};
        std::vector<const char*> withReplays = options;
        withReplays.push_back("--replays");
        std::istringstream lines(botGames(withReplays));
        std::string games;
        for (std::string line, code; std::getline(lines, line) && line.rfind("game ", 0) == 0;) {
            games += line + "\n";
            std::getline(lines, code);
            int rows = 0;
            long long pieces = 0;
            char capped[8] = "";
            std::sscanf(line.c_str(), "game %*d rows %d pieces %lld %7s", &rows, &pieces, capped);
            EXPECT_EQ(std::string("adversary ") + adversary + "\nrows " + std::to_string(rows) +
                          "\npieces " + std::to_string(pieces) + "\nover " +
                          (capped[0] == '\0' ? "1" : "0") + "\n",
                      replayed(code))
                << line;
        }
        EXPECT_EQ(2, std::count(games.begin(), games.end(), '\n'));
        EXPECT_EQ(botGames(options).substr(0, games.size()), games);
    }

    // The attacker's code follows its result line.
    std::istringstream attackLines(
        sim({"attack", "--adversary", "zly", "--beam", "2", "--max-pieces", "40", "--replays"}, "")
            .out);
    std::string settings, result, code;
    std::getline(attackLines, settings);
    std::getline(attackLines, result);
    std::getline(attackLines, code);
    int rows = 0;
    long long pieces = 0;
    char end[8] = "";
    ASSERT_EQ(3, std::sscanf(result.c_str(), "rows %d pieces %lld %7s", &rows, &pieces, end));
    EXPECT_EQ("adversary zly\nrows " + std::to_string(rows) + "\npieces " + std::to_string(pieces) +
                  "\nover " + (end == std::string("ended") ? "1" : "0") + "\n",
              replayed(code));
}

TEST(KostrelSim, BadUsageIsRefusedWithStatusTwo) {
    const std::vector<std::vector<const char*>> usages = {
        {},
        {"fly"},
        {"eval", "extra"},
        {"choose"},
        {"choose", "7"},
        {"choose", "01"},
        {"choose", ""},
        {"choose", "0", "1"},
        {"play", "x"},
        {"plan", "x"},
        {"bot", "--games"},
        {"bot", "--games", "0"},
        {"bot", "--games", "012"},
        {"bot", "--games", "1x"},
        {"bot", "--max-pieces", ""},
        {"bot", "--adversary", "random"},
        {"bot", "--adversary", "\x1b[31mzly"},
        {"play", "--adversary"},
        {"plan", "--adversary", "KLASICKY"},
        {"choose", "\n"},
        {"--frob"},
        {"adversaries", "x"},
        {"attack", "--beam", "8"},
        {"attack", "--adversary", "zly"},
        {"attack", "--adversary", "zly", "--beam", "0"},
        {"attack", "--adversary", "zly", "--beam", "8", "--start", "0029e2c0.70"},
        {"attack", "--adversary", "zly", "--beam", "8", "--weights", "lee"},
        {"bot", "--speed", "2"},
        {"bot", "--games", "2", "--games", "3"},
        {"bot", "--games", "99999999999999999999"},
        {"bot", "--depth", "4"},
        {"bot", "--weights", "best"},
        {"bot", "--replays", "x"},
        {"replay", "x"},
    };
    for (const auto& usage : usages) {
        SimRun run = sim(usage, EMPTY_GRID);
        EXPECT_EQ(2, run.status) << (usage.empty() ? "(none)" : usage.back());
        EXPECT_EQ("", run.out);
        EXPECT_EQ(0u, run.err.rfind("kostrel-sim: ", 0));
        EXPECT_EQ(1, std::count(run.err.begin(), run.err.end(), '\n')) << run.err;
        EXPECT_TRUE(std::all_of(run.err.begin(), run.err.end() - 1,
                                [](char c) { return c >= 0x20 && c <= 0x7E; }))
            << "an argument reaches the terminal raw: " << run.err;
    }
    // An unknown adversary names the valid ones.
    EXPECT_NE(std::string::npos, sim({"bot", "--adversary", "hard"}, "")
                                     .err.find("\"hard\" for --adversary, expected klasicky, "
                                               "zly, sz or nahodny;"));
}

TEST(KostrelSim, ListsHelpAndVersionOnStandardOutput) {
    SimRun adversaries = sim({"adversaries"}, "");
    EXPECT_EQ("klasicky\tklasický\nzly\tzlý\nsz\tS a Z\nnahodny\tnáhodný\n", adversaries.out);
    EXPECT_EQ(0u, sim({"weights"}, "").out.find("evolved\t"));
    EXPECT_EQ(0u, sim({"--version"}, "").out.rfind("kostrel-sim 1.", 0));
    for (const char* subcommand :
         {"--help", "eval", "choose", "play", "plan", "bot", "attack", "adversaries", "weights"}) {
        SimRun help = sim({subcommand, "--help"}, "");
        EXPECT_EQ(0, help.status) << subcommand;
        EXPECT_EQ("", help.err);
        EXPECT_EQ(0u, help.out.rfind("usage: kostrel-sim ", 0)) << help.out;
    }
}

TEST(KostrelSim, AttackRepeatsItsGameAndTheAdversaryPlays) {
    std::vector<const char*> command = {"attack",       "--adversary", "zly",     "--beam",     "3",
                                        "--max-pieces", "25",          "--start", "4d1f6a2b.52"};
    SimRun first = sim(command, "");
    ASSERT_EQ(0, first.status) << first.err;
    std::string game = first.out.substr(0, first.out.find("\nplacements "));
    EXPECT_EQ("adversary zly beam 3 weights evolved start 4d1f6a2b.52\nrows 3 pieces 25 running",
              game);
    EXPECT_EQ(0u, sim(command, "").out.rfind(game, 0));
    // However many threads search, the same game.
    AttackSettings settings{Adversary::Klasicky, 4, 40, &EVOLVED_WEIGHTS, FRESH_PROGRAM_START, 1};
    AttackResult alone = attack(settings);
    settings.threads = 3;
    AttackResult shared = attack(settings);
    ASSERT_EQ(alone.moves.size(), shared.moves.size());
    for (size_t i = 0; i < alone.moves.size(); ++i) {
        EXPECT_EQ(alone.moves[i].keys, shared.moves[i].keys) << "piece " << i;
        EXPECT_TRUE(samePlace(0, alone.moves[i].placement, shared.moves[i].placement) &&
                    alone.moves[i].placement.rotation == shared.moves[i].placement.rotation);
    }
    // play takes the adversary too: sz's first next piece after kind 0 is a Z.
    EXPECT_NE(std::string::npos,
              sim({"play", "--adversary", "sz"}, "new show").out.find("\nnext 3 "));
}

TEST(KostrelSim, UnknownPlayCommandStopsAfterWhatWasPrinted) {
    SimRun run = sim({"play"}, "score\n  new\n  left jump score\n");
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("score 0\n", run.out);
    EXPECT_EQ("kostrel-sim: unknown command \"jump\" at line 3, column 8\n", run.err);

    SimRun binary = sim({"play"}, std::string("new \x01\xFF", 6));
    EXPECT_EQ(2, binary.status);
    EXPECT_EQ("kostrel-sim: unknown command \"\\x01\\xFF\" at line 1, column 5\n", binary.err);

    SimRun endless = sim({"play"}, "show" + std::string(100000, 'w'));
    EXPECT_EQ(2, endless.status);
    EXPECT_NE(std::string::npos, endless.err.find("...\" at line 1, column 1"));
}

}  // namespace
