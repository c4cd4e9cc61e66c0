// The four adversaries: the scores shown on request name the kind handed out; zly reads
// the preview where klasicky does not, and its loop guard; a pinned zly game; sz's
// alternation; nahodny's draws.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "board_builder.h"
#include "bot/bot_player.h"
#include "bot/placement_planner.h"
#include "chooser/adversary.h"
#include "chooser/next_piece_chooser.h"
#include "model/game/pure_game.h"
#include "model/rules/board.h"

namespace {

constexpr int32_t Z_KIND = 3;
constexpr int32_t S_KIND = 4;

int32_t pick(Adversary adversary, const AdversaryMemory& memory, const MaskBoard& board,
             int32_t fallingKind) {
    uint32_t random = 1;
    return pickNextKind(adversary, memory, board, fallingKind, random);
}

// The depth-2 bot plays the game on until it ends or `pieces` more were fixed; `watch`
// sees every position the adversary chooses in, as (the game before the step, the board
// after it).
template <typename Watch>
void playBot(PureGame& game, int pieces, Watch watch) {
    for (int piece = 0; piece < pieces && !game.over; ++piece) {
        BotDecision decision = decidePlacement(botViewOfPureGame(game), defaultBotSettings());
        PureStep step =
            planStep(game, decision.placement.x, decision.placement.y, decision.placement.rotation);
        watch(game, step.board);
        applyStep(game, step);
    }
}

// Random boards with holes, overhangs and full rows; a memory of some of them, and of the
// answers that the scores name, so that the loop guard is met too.
TEST(Adversaries, ScoresOnRequestNameTheKindHandedOut) {
    std::mt19937 random(20261207);
    AdversaryMemory memory;
    for (int board = 0; board < 150; ++board) {
        MaskBoard masks = maskBoardOf(randomBoard(random, 17));
        int32_t falling = static_cast<int32_t>(random() % PIECE_KINDS);
        for (Adversary adversary : {Adversary::Klasicky, Adversary::Zly}) {
            KindScores scores;
            ASSERT_TRUE(scoreKinds(adversary, memory, masks, falling, scores));
            ASSERT_EQ(pick(adversary, memory, masks, falling), scores.chosen)
                << adversaryInfo(adversary).id << ", board " << board;
            if (adversary == Adversary::Zly && board % 3 == 0)
                addSeen(memory.boards, packBoard(scores.answers[scores.chosen]));
        }
        if (board % 2 == 0) rememberChoice(Adversary::Zly, memory, masks, falling, 0);
    }
    KindScores none;
    EXPECT_FALSE(scoreKinds(Adversary::Sz, memory, MaskBoard{}, 0, none));
    EXPECT_FALSE(scoreKinds(Adversary::Nahodny, memory, MaskBoard{}, 0, none));
}

TEST(Zly, HandsOutWhatThePreviewCannotSaveWhereKlasickyDoesNot) {
    const struct {
        GameState board;
        int32_t falling;
        int32_t klasicky;
        int32_t zly;
    } cases[] = {
        // A one-cell gap: klasicky lets the falling L take its best place and then hands out
        // an L that fits nowhere well; a player who sees the second L coming places the
        // first one for it.
        {boardFromBottom({"###.######"}), 0, 0, S_KIND},
        {boardFromBottom({"##.#######", "########.."}), 0, 0, 6},
        {boardFromBottom({"#####.####", "#.####..#."}), 6, 1, Z_KIND},
    };
    for (const auto& c : cases) {
        MaskBoard board = maskBoardOf(c.board);
        EXPECT_EQ(c.klasicky, chooseNextKind(board, c.falling));
        KindScores scores;
        scoreKinds(Adversary::Zly, AdversaryMemory{}, board, c.falling, scores);
        EXPECT_EQ(c.zly, scores.chosen);
        // With the preview, the player answers klasicky's kind better than zly's.
        EXPECT_LT(scores.badness[c.klasicky], scores.badness[c.zly]);
    }
}

// The flat boards on which the depth-2 bot plays forever against klasicky: on the one it
// returns to most, zly never hands out a kind whose best answer leads to a board seen in
// this game, unless every kind's does, and then the one seen fewest times, the lower kind
// of equals. With zly in klasicky's place, the game ends.
TEST(Zly, LoopGuardOnTheBoardsOfAnEndlessGame) {
    // A program's first game ends after 10 rows; its second one never does.
    PureGame game = startPureGame(FRESH_PROGRAM_START, Adversary::Klasicky);
    playBot(game, 300, [](const PureGame&, const MaskBoard&) {});
    ASSERT_TRUE(game.over);
    game = startPureGame(nextGameStart(game), Adversary::Klasicky);
    AdversaryMemory loop;
    MaskBoard flat{};
    int32_t falling = 0;
    uint32_t mostSeen = 0;
    playBot(game, 300, [&](const PureGame& before, const MaskBoard& board) {
        addSeen(loop.boards, packBoard(board));
        if (timesSeen(loop.boards, packBoard(board)) <= mostSeen) return;
        mostSeen = timesSeen(loop.boards, packBoard(board));
        flat = board;
        falling = before.nextKind;
    });
    ASSERT_GT(mostSeen, 20u) << "the bot no longer loops against klasicky";

    KindScores unguarded;
    scoreKinds(Adversary::Zly, AdversaryMemory{}, flat, falling, unguarded);
    // Its answer seen once: the next worst instead.
    AdversaryMemory memory;
    addSeen(memory.boards, packBoard(unguarded.answers[unguarded.chosen]));
    int32_t nextWorst = unguarded.chosen == 0 ? 1 : 0;
    for (int k = 0; k < PIECE_KINDS; ++k)
        if (k != unguarded.chosen && unguarded.badness[k] > unguarded.badness[nextWorst])
            nextWorst = k;
    EXPECT_EQ(nextWorst, pick(Adversary::Zly, memory, flat, falling));
    // Every answer seen, kind k 3 - k % 3 times: kinds 2 and 5 are the fewest, and 2 the lower.
    for (int k = 0; k < PIECE_KINDS; ++k)
        for (int times = k == unguarded.chosen ? 1 : 0; times < 3 - k % 3; ++times)
            addSeen(memory.boards, packBoard(unguarded.answers[k]));
    EXPECT_EQ(2, pick(Adversary::Zly, memory, flat, falling));

    game.adversary = Adversary::Zly;
    game.memory = loop;
    playBot(game, 2000, [](const PureGame&, const MaskBoard&) {});
    EXPECT_TRUE(game.over);
}

// The kinds zly hands out to the depth-2 bot in a fresh program's first game, to its end.
TEST(Zly, AFixedGame) {
    std::string kinds;
    PureGame game = startPureGame(FRESH_PROGRAM_START, Adversary::Zly);
    playBot(game, 2000, [&](const PureGame& before, const MaskBoard&) {
        kinds += static_cast<char>('0' + before.nextKind);
    });
    EXPECT_EQ("512333334340424422222333332222221444444444044444", kinds);
    EXPECT_EQ(3, game.score);
}

TEST(Sz, SAfterZAndZAfterAnyOtherKindFromTheGamesFirstPiece) {
    for (GameStart start : {FRESH_PROGRAM_START, GameStart{7, Z_KIND, 1}}) {
        int32_t expected = start.kind;
        PureGame game = startPureGame(start, Adversary::Sz);
        playBot(game, 40, [&](const PureGame& before, const MaskBoard&) {
            EXPECT_EQ(expected, before.kind);
            expected = expected == Z_KIND ? S_KIND : Z_KIND;
        });
        EXPECT_EQ(40, game.pieces);
    }
}

// The draws go on from the state each leaves: a state that stood still would give one kind.
TEST(Nahodny, EveryKindAboutAsOftenAsTheOthers) {
    int counts[PIECE_KINDS] = {};
    uint32_t random = 12345;
    for (int draw = 0; draw < 3000; ++draw) {
        int32_t kind = pickNextKind(Adversary::Nahodny, AdversaryMemory{}, MaskBoard{}, 0, random);
        ASSERT_TRUE(kind >= 0 && kind < PIECE_KINDS) << "draw " << draw;
        ++counts[kind];
    }
    for (int count : counts) EXPECT_GT(count, 300);
}

}  // namespace
