// The `zly` adversary's search. Scores are whole numbers, so that every build (native,
// WebAssembly, 32-bit) hands out the same kinds for the same game.
#include "chooser/preview_aware_chooser.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "chooser/board_evaluation.h"
#include "chooser/board_features.h"
#include "chooser/straight_drops.h"

namespace {

// The player as the adversary models it: a board's value to the player is the weighted
// sum of the board features (the evolved weights, in hundredths), with each removed row
// worth much more than the features say and the wells three times as bad; how bad a board
// is for the player is the chooser's evaluation, half as much again, less that value.
// Measured against the attacker and the bot, a model without the chooser's evaluation, or
// weighing it twice or more, or without the rows' own worth, concedes more rows; with the
// evolved set's wells, a wide search lives for ever on a narrow well that it fills with
// the upright bars the adversary still hands out.
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

constexpr PlayerModel MODEL = {150, -225, 5000, 342, -322, -935, -790, -1000};

// What each row mask adds to a board's measures, looked up instead of counted.
struct RowFacts {
    int16_t points;       // the chooser's filled and enclosed points
    uint8_t transitions;  // filled/empty changes along the row, walls filled
    uint8_t cells;        // filled cells
    uint16_t wells;       // empty cells with both neighbours (or walls) filled
};

struct RowFactsTable {
    RowFacts rows[FULL_ROW_MASK + 1];
};

constexpr RowFactsTable makeRowFacts() {
    RowFactsTable table{};
    for (uint32_t row = 0; row <= FULL_ROW_MASK; ++row) {
        uint32_t walled = (row << 1) | 1u | (1u << (BOARD_COLUMNS + 1));
        RowFacts& facts = table.rows[row];
        facts.points = ROW_SCORES.filledAndEnclosed[row];
        facts.transitions = static_cast<uint8_t>(
            countCells((walled ^ (walled >> 1)) & ((1u << (BOARD_COLUMNS + 1)) - 1)));
        facts.cells = static_cast<uint8_t>(countCells(row));
        facts.wells = static_cast<uint16_t>(~row & (walled >> 2) & walled & FULL_ROW_MASK);
    }
    return table;
}

constexpr RowFactsTable ROW_FACTS = makeRowFacts();

constexpr int cellsOf(uint32_t mask) { return ROW_FACTS.rows[mask & FULL_ROW_MASK].cells; }

// How bad `board` is for the player: the weighted chooser's evaluation less the player's
// value of the board's features, in one pass from its top row down. `columnTops` receives
// each column's highest filled row (BOARD_ROWS when empty).
int32_t boardBadness(const MaskBoard& board, int8_t (&columnTops)[BOARD_COLUMNS]) {
    int32_t points = 0;
    int rowTransitions = 2 * board.top;  // an empty row has its two walls
    int columnTransitions = 0;
    int holes = 0;
    int wellSums = 0;
    uint32_t above = 0;
    uint32_t previous = board.top > 0 ? 0 : board.rows[0];  // nothing above row 0
    uint32_t previousWells = 0;
    int wellDepth[BOARD_COLUMNS] = {};
    for (int c = 0; c < BOARD_COLUMNS; ++c) columnTops[c] = BOARD_ROWS;
    for (int y = board.top; y < BOARD_ROWS; ++y) {
        uint32_t row = board.rows[y];
        const RowFacts& facts = ROW_FACTS.rows[row];
        points += facts.points;
        rowTransitions += facts.transitions;
        columnTransitions += cellsOf(row ^ previous);
        holes += cellsOf(~row & above);
        for (uint32_t topped = row & ~above; topped != 0; topped &= topped - 1)
            columnTops[cellsOf((topped & (0u - topped)) - 1)] = static_cast<int8_t>(y);
        above |= row;
        previous = row;
        for (uint32_t wells = facts.wells; wells != 0; wells &= wells - 1) {
            int c = cellsOf((wells & (0u - wells)) - 1);
            wellDepth[c] = (previousWells >> c & 1u) ? wellDepth[c] + 1 : 1;
            wellSums += wellDepth[c];
        }
        previousWells = facts.wells;
    }
    columnTransitions += cellsOf(~previous);  // the floor is filled
    int32_t value = MODEL.rowTransitions * rowTransitions +
                    MODEL.columnTransitions * columnTransitions + MODEL.holes * holes +
                    MODEL.wellSums * wellSums;
    return MODEL.evaluation * (points + COVERED_POINTS * holes) - value;
}

// Each picture's lowest filled row in each of its columns, for drops by column tops.
struct PictureBottoms {
    int8_t rows[PIECE_KINDS][PIECE_ROTATIONS][PICTURE_SIDE];
};

constexpr PictureBottoms makePictureBottoms() {
    PictureBottoms bottoms{};
    for (int k = 0; k < PIECE_KINDS; ++k)
        for (int t = 0; t < PIECE_ROTATIONS; ++t)
            for (int c = 0; c < PICTURE_SIDE; ++c)
                for (int r = 0; r < PICTURE_SIDE; ++r)
                    if (pieceMask(k, t).rows[r] >> c & 1u)
                        bottoms.rows[k][t][c] = static_cast<int8_t>(r);
    return bottoms;
}

constexpr PictureBottoms PICTURE_BOTTOMS = makePictureBottoms();

// The same from the board's column tops, when its top four rows are empty: the piece falls
// until one of its columns meets the top of the board's.
int restingRowByTops(const int8_t (&columnTops)[BOARD_COLUMNS], int kind, int rotation,
                     const PieceMask& picture, int x) {
    int y = BOARD_ROWS;
    for (int c = 0; c < picture.width; ++c)
        y = std::min(y, columnTops[x + c] - PICTURE_BOTTOMS.rows[kind][rotation][c] - 1);
    return y;
}

// The player's value of placing `picture` at (x, y) on `board`, which then holds what is
// left after the row removal; the board's own features are not included. `clean`: the
// board has no full row below row 0, so only the piece's rows can fill up.
int32_t placeMove(MaskBoard& board, const PieceMask& picture, int x, int y, bool clean) {
    lockPieceMasks(board, picture, x, y);
    uint32_t removed = 0;
    bool full = !clean;
    for (int r = y > 0 ? 0 : 1; r < picture.height && !full; ++r)
        full = board.rows[y + r] == FULL_ROW_MASK;
    if (full) removed = removeFullRows(board);
    int landingHalfRows = 2 * BOARD_ROWS + 1 - 2 * y - picture.height;
    int32_t value = MODEL.landingHalfRows * landingHalfRows;
    if (removed == 0) return value;
    int rows = countCells(removed);
    int pieceCells = 0;
    for (int r = 0; r < picture.height; ++r)
        if (removed & (1u << (y + r))) pieceCells += cellsOf(picture.rows[r]);
    return value + MODEL.rowsCleared * rows + MODEL.erodedCells * rows * pieceCells;
}

// One straight drop of the falling piece: the board it leaves and the player's value of
// the move itself.
struct FirstMove {
    MaskBoard after;
    int32_t moveValue;
    int32_t estimate;  // how bad the board is after this piece alone: the search order
    int index;         // in the order the drops are found
    int8_t columnTops[BOARD_COLUMNS];  // of `after`
};

// A kind's best answer: the lowest badness, and of equal ones the first in drop order.
struct Answer {
    int32_t badness;
    int first;   // FirstMove::index
    int second;  // the second piece's drop in its order; -1 when it has none
    MaskBoard board;
};

std::vector<FirstMove> firstMoves(const MaskBoard& board, int fallingKind) {
    std::vector<FirstMove> moves;
    forEachDrop(board, fallingKind, [&](const PieceMask& picture, int, int x, int index) {
        FirstMove move{board, 0, 0, index, {}};
        move.moveValue = placeMove(move.after, picture, x, restingRow(board, picture, x), false);
        move.estimate = boardBadness(move.after, move.columnTops) - move.moveValue;
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

constexpr Answer NO_ANSWER_YET = {INT32_MAX, INT_MAX, INT_MAX, MaskBoard{}};

// Improves `best`, the best answer with `kind` as the second piece so far, with the first
// moves firsts[begin..end). Stops, returning false, at an answer no worse than `mustExceed`:
// the kind can then not be handed out.
bool improveAnswer(const std::vector<FirstMove>& firsts, size_t begin, size_t end, int kind,
                   int32_t mustExceed, Answer& best) {
    if (best.badness <= mustExceed) return false;
    int8_t columnTops[BOARD_COLUMNS];
    for (size_t i = begin; i < end; ++i) {
        const FirstMove& first = firsts[i];
        bool answered = false;
        bool stop = false;
        bool byTops = first.after.top >= PICTURE_SIDE;
        forEachDrop(first.after, kind, [&](const PieceMask& picture, int t, int x, int index) {
            answered = true;
            MaskBoard board = first.after;
            int y = byTops ? restingRowByTops(first.columnTops, kind, t, picture, x)
                           : restingRow(first.after, picture, x);
            int32_t move = placeMove(board, picture, x, y, true);
            int32_t badness = boardBadness(board, columnTops) - first.moveValue - move;
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
uint32_t answerSeen(const Answer& answer, const MaskBoard& current, const SeenBoards& earlier,
                    bool currentKept = false) {
    if (answer.second < 0) return 0;
    PackedBoard packed = packBoard(answer.board);
    return timesSeen(earlier, packed) + (packed == packBoard(current) && !currentKept ? 1 : 0);
}

// The kinds handed out before on the same surface after the same falling kind.
uint32_t kindsGiven(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier,
                    int32_t remembered = -1) {
    uint32_t given = 0;
    if (earlier.distinct == 0) return given;
    PackedBoard surface = packSurfaceChoice(board, fallingKind, 0);
    for (int k = 0; k < PIECE_KINDS; ++k) {
        if (timesSeen(earlier, withChosenKind(surface, k)) > (k == remembered ? 1u : 0u))
            given |= 1u << k;
    }
    return given;
}

// The choice among the kinds whose best answers are known in full: the worst answer that
// leads to no board seen before, of the kinds not handed out before here if there are any;
// when every answer leads back, the one seen fewest times. Ties go to the lower kind.
int32_t chooseAmong(const KindScores& scores) {
    for (uint32_t avoid : {scores.givenBefore, 0u}) {
        int32_t chosen = -1;
        for (int k = 0; k < PIECE_KINDS; ++k) {
            if (scores.timesSeen[k] != 0 || (avoid & (1u << k))) continue;
            if (chosen < 0 || scores.badness[k] > scores.badness[chosen]) chosen = k;
        }
        if (chosen >= 0) return chosen;
    }
    int32_t chosen = 0;
    for (int k = 1; k < PIECE_KINDS; ++k)
        if (scores.timesSeen[k] < scores.timesSeen[chosen]) chosen = k;
    return chosen;
}

}  // namespace

KindScores scorePreviewAware(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier,
                             int32_t remembered) {
    KindScores scores{};
    std::vector<FirstMove> firsts = firstMoves(board, fallingKind);
    if (firsts.empty()) return scores;
    scores.givenBefore = kindsGiven(board, fallingKind, earlier, remembered);
    for (int k = 0; k < PIECE_KINDS; ++k) {
        Answer answer = NO_ANSWER_YET;
        improveAnswer(firsts, 0, firsts.size(), k, INT32_MIN, answer);
        scores.badness[k] = answer.badness;
        scores.answers[k] = answer.board;
        scores.timesSeen[k] = answerSeen(answer, board, earlier, remembered >= 0);
    }
    scores.chosen = chooseAmong(scores);
    return scores;
}

int32_t choosePreviewAware(const MaskBoard& board, int32_t fallingKind, const SeenBoards& earlier) {
    std::vector<FirstMove> firsts = firstMoves(board, fallingKind);
    if (firsts.empty()) return 0;
    // Each kind's best answer after the most promising first move bounds how bad the kind
    // can be; the kinds are searched worst bound first, so that the eventual winner is
    // likely found first and the others are left as soon as they cannot beat it.
    Answer bounds[PIECE_KINDS];
    int order[PIECE_KINDS];
    for (int k = 0; k < PIECE_KINDS; ++k) {
        bounds[k] = NO_ANSWER_YET;
        improveAnswer(firsts, 0, 1, k, INT32_MIN, bounds[k]);
        order[k] = k;
    }
    std::stable_sort(order, order + PIECE_KINDS,
                     [&](int a, int b) { return bounds[a].badness > bounds[b].badness; });
    // The kind with the worst best answer, ties to the lower kind, leaving out the kinds
    // handed out before on this surface after this falling kind while others are left.
    // When the winner's answer leads to a board seen before, it is set aside and the search
    // runs again without it.
    uint32_t given = kindsGiven(board, fallingKind, earlier);
    uint32_t excluded = 0;
    for (;;) {
        int32_t leader = -1;
        Answer leaderAnswer = NO_ANSWER_YET;
        for (int k : order) {
            if ((excluded | given) & (1u << k)) continue;
            // A lower kind than the leader wins a tie; a higher one must be worse.
            int32_t mustExceed = leader < 0   ? INT32_MIN
                                 : k < leader ? leaderAnswer.badness - 1
                                              : leaderAnswer.badness;
            Answer answer = bounds[k];
            if (!improveAnswer(firsts, 1, firsts.size(), k, mustExceed, answer)) continue;
            bounds[k] = answer;  // complete now
            leader = k;
            leaderAnswer = answer;
        }
        if (leader < 0 && (given & ~excluded) != 0) {
            given = 0;  // every kind not set aside was handed out here before: any will do
            continue;
        }
        if (leader < 0) break;
        if (answerSeen(leaderAnswer, board, earlier) == 0) return leader;
        excluded |= 1u << leader;
    }
    // Every kind's answer leads back: the one seen fewest times, which needs them all.
    return scorePreviewAware(board, fallingKind, earlier).chosen;
}
