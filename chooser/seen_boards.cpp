// The table of seen boards: linear probing in a power-of-two table at most half full.
#include "chooser/seen_boards.h"

uint64_t hashOf(const PackedBoard& board) {
    uint64_t hash = 0x9E3779B97F4A7C15u;
    for (uint64_t word : board.words) {
        hash ^= word;
        hash *= 0xBF58476D1CE4E5B9u;
        hash ^= hash >> 31;
    }
    return hash;
}

namespace {

// The slot that holds `board`, or the free one where it would go.
size_t slotOf(const SeenBoards& seen, const PackedBoard& board) {
    size_t mask = seen.slots.size() - 1;
    size_t slot = hashOf(board) & mask;
    while (seen.slots[slot].count != 0 && !(seen.slots[slot].board == board))
        slot = (slot + 1) & mask;
    return slot;
}

}  // namespace

uint32_t timesSeen(const SeenBoards& seen, const PackedBoard& board) {
    return seen.slots.empty() ? 0 : seen.slots[slotOf(seen, board)].count;
}

void addSeen(SeenBoards& seen, const PackedBoard& board) {
    if (2 * (seen.distinct + 1) > seen.slots.size()) {
        std::vector<SeenBoards::Slot> old;
        old.swap(seen.slots);
        seen.slots.assign(old.empty() ? 64 : 2 * old.size(), SeenBoards::Slot{});
        for (const SeenBoards::Slot& slot : old)
            if (slot.count != 0) seen.slots[slotOf(seen, slot.board)] = slot;
    }
    SeenBoards::Slot& slot = seen.slots[slotOf(seen, board)];
    if (slot.count == 0) {
        slot.board = board;
        ++seen.distinct;
    }
    ++slot.count;
}

void clearSeen(SeenBoards& seen) {
    seen.slots.clear();
    seen.distinct = 0;
}
