// The `zly` adversary's search. Scores are whole numbers, so that every build (native,
// WebAssembly, 32-bit) hands out the same kinds for the same game.
#include "chooser/preview_aware_chooser.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "chooser/board_evaluation.h"
#include "chooser/board_features.h"

namespace {

// The player as the adversary models it: a board's value to the player is the weighted
// sum of the board features (the evolved weights, in hundredths), and how bad it is for the
// player is the chooser's evaluation, weighted, less that value.
struct PlayerModel {
    int32_t evaluation;         // per point of evaluateMaskBoard
    int32_t landingHalfRows;    // per half row of each piece's landing height
    int32_t rowsCleared;        // per row of each piece
    int32_t erodedCells;        // per eroded cell of each piece
    int32_t rowTransitions;     // per transition of the board the two pieces leave
    int32_t columnTransitions;  // and so on, per feature of that board
    int32_t holes;
    int32_t wellSums;
};

constexpr PlayerModel MODEL = {150, -225, 0, 342, -322, -935, -790, -339};

// One straight drop of the falling piece: the board it leaves and the player's value of
// the move itself.
struct FirstMove {
    MaskBoard after;
    int32_t moveValue;
    int32_t estimate;  // how bad the board is after this piece alone: the search order
    int index;         // in the order the drops are found
};

// A kind's best answer: the lowest badness, and of equal ones the first in drop order.
struct Answer {
    int32_t badness;
    int first;   // FirstMove::index
    int second;  // the second piece's drop in its order; -1 when it has none
    MaskBoard board;
};

// The row where a picture that fits at (x, 0) comes to rest.
int restingRow(const MaskBoard& board, const PieceMask& picture, int x) {
    int y = board.top - picture.height;
    if (y < 0) y = 0;
    while (pieceFitsMasks(board, picture, x, y + 1)) ++y;
    return y;
}

// The player's value of placing `picture` at (x, y) on `board`, which then holds what is
// left after the row removal; the board's own features are not included.
int32_t placeMove(MaskBoard& board, const PieceMask& picture, int x, int y) {
    lockPieceMasks(board, picture, x, y);
    uint32_t removed = removeFullRows(board);
    int rows = countCells(removed);
    int pieceCells = 0;
    for (int r = 0; r < picture.height; ++r)
        if (removed & (1u << (y + r))) pieceCells += countCells(picture.rows[r]);
    int landingHalfRows = 2 * BOARD_ROWS + 1 - 2 * y - picture.height;
    return MODEL.landingHalfRows * landingHalfRows + MODEL.rowsCleared * rows +
           MODEL.erodedCells * rows * pieceCells;
}

// How bad `board` is for the player, its features' value included.
int32_t boardBadness(const MaskBoard& board) {
    BoardFeatures f = measureBoard(board);
    int32_t value = MODEL.rowTransitions * f.rowTransitions +
                    MODEL.columnTransitions * f.columnTransitions + MODEL.holes * f.holes +
                    MODEL.wellSums * f.wellSums;
    return MODEL.evaluation * evaluateMaskBoard(board) - value;
}

// Calls visit(picture, x, index) for each straight drop of `kind` onto `board`, in the
// chooser's order: column by column, each distinct picture that fits at row 0.
template <typename Visit>
void forEachDrop(const MaskBoard& board, int kind, Visit visit) {
    const PieceMask* masks = pieceMasksOfKind(kind);
    int index = 0;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int t = 0; t < PIECE_ROTATIONS; ++t) {
            const PieceMask& picture = masks[t];
            if (picture.sameAsRotation != t || !pieceFitsMasks(board, picture, x, 0)) continue;
            if (!visit(picture, x, index++)) return;
        }
    }
}

std::vector<FirstMove> firstMoves(const MaskBoard& board, int fallingKind) {
    std::vector<FirstMove> moves;
    forEachDrop(board, fallingKind, [&](const PieceMask& picture, int x, int index) {
        FirstMove move{board, 0, 0, index};
        move.moveValue = placeMove(move.after, picture, x, restingRow(board, picture, x));
        move.estimate = boardBadness(move.after) - move.moveValue;
        moves.push_back(move);
        return true;
    });
    // The most promising first moves first: a kind that cannot win is then seen to be so
    // after few answers.
    std::stable_sort(moves.begin(), moves.end(), [](const FirstMove& a, const FirstMove& b) {
        return a.estimate < b.estimate;
    });
    return moves;
}

bool before(int32_t badness, int first, int second, const Answer& best) {
    if (badness != best.badness) return badness < best.badness;
    return first != best.first ? first < best.first : second < best.second;
}

// The best answer with `kind` as the second piece. Stops, returning false, at the first
// answer no worse than `mustExceed`: the kind can then not be handed out.
bool bestAnswer(const std::vector<FirstMove>& firsts, int kind, int32_t mustExceed, Answer& best) {
    best = Answer{INT32_MAX, INT_MAX, INT_MAX, MaskBoard{}};
    for (const FirstMove& first : firsts) {
        bool answered = false;
        bool stop = false;
        forEachDrop(first.after, kind, [&](const PieceMask& picture, int x, int index) {
            answered = true;
            MaskBoard board = first.after;
            int32_t move = placeMove(board, picture, x, restingRow(first.after, picture, x));
            int32_t badness = boardBadness(board) - first.moveValue - move;
            if (before(badness, first.index, index, best))
                best = Answer{badness, first.index, index, board};
            stop = badness <= mustExceed;
            return !stop;
        });
        if (!answered && before(NO_ANSWER_BADNESS, first.index, -1, best))
            best = Answer{NO_ANSWER_BADNESS, first.index, -1, first.after};
        if (stop || NO_ANSWER_BADNESS <= mustExceed) return false;
    }
    return true;
}

// How often the answer's board was seen, `current` included; an answer that ends the game
// leaves no board.
uint32_t answerSeen(const Answer& answer, const MaskBoard& current, const SeenBoards& earlier) {
    if (answer.second < 0) return 0;
    PackedBoard packed = packBoard(answer.board);
    return timesSeen(earlier, packed) + (packed == packBoard(current) ? 1 : 0);
}

// The choice among the kinds whose best answers are known in full: the worst answer that
// leads to no board seen before; when every answer does, the one seen fewest times. Ties go
// to the lower kind.
int32_t chooseAmong(const KindScores& scores) {
    int32_t chosen = -1;
    for (int k = 0; k < PIECE_KINDS; ++k)
        if (scores.timesSeen[k] == 0 && (chosen < 0 || scores.badness[k] > scores.badness[chosen]))
            chosen = k;
    if (chosen >= 0) return chosen;
    chosen = 0;
    for (int k = 1; k < PIECE_KINDS; ++k)
        if (scores.timesSeen[k] < scores.timesSeen[chosen]) chosen = k;
    return chosen;
}

}  // namespace

KindScores scorePreviewAware(const MaskBoard& board, int32_t fallingKind,
                             const SeenBoards& earlier) {
    KindScores scores{};
    std::vector<FirstMove> firsts = firstMoves(board, fallingKind);
    if (firsts.empty()) return scores;
    for (int k = 0; k < PIECE_KINDS; ++k) {
        Answer answer;
        bestAnswer(firsts, k, INT32_MIN, answer);
        scores.badness[k] = answer.badness;
        scores.timesSeen[k] = answerSeen(answer, board, earlier);
    }
    scores.chosen = chooseAmong(scores);
    return scores;
}

int32_t choosePreviewAware(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier) {
    std::vector<FirstMove> firsts = firstMoves(board, fallingKind);
    if (firsts.empty()) return 0;
    // The kind with the worst best answer, ties to the lower kind; a kind that cannot beat
    // the leader is left as soon as that shows. When the winner's answer leads to a board
    // seen before, it is set aside and the search runs again without it.
    uint32_t excluded = 0;
    for (;;) {
        int32_t leader = -1;
        int32_t highest = INT32_MIN;
        Answer answer;
        Answer leaderAnswer;
        for (int k = 0; k < PIECE_KINDS; ++k) {
            if ((excluded & (1u << k)) || !bestAnswer(firsts, k, highest, answer)) continue;
            leader = k;
            highest = answer.badness;
            leaderAnswer = answer;
        }
        if (leader < 0) break;
        if (answerSeen(leaderAnswer, board, earlier) == 0) return leader;
        excluded |= 1u << leader;
    }
    // Every kind's answer leads back: the one seen fewest times, which needs them all.
    return scorePreviewAware(board, fallingKind, earlier).chosen;
}
