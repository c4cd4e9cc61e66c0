// The word that tells a preview which piece comes next: the kind in the low 16 bits, the
// rotation it arrives in in the high 16 bits.
#pragma once

#include <cstdint>

#include "model/rules/piece_table.h"

constexpr uint32_t packPreviewWord(int32_t kind, int32_t rotation) {
    return (static_cast<uint32_t>(rotation) << 16) | (static_cast<uint32_t>(kind) & 0xFFFF);
}

constexpr uint32_t previewWordKind(uint32_t word) { return word & 0xFFFF; }
constexpr uint32_t previewWordRotation(uint32_t word) { return word >> 16; }

// The picture of the piece that a preview word names; a word whose kind or rotation is out
// of range names no piece and gets a blank picture, never memory outside the table.
constexpr const char* previewPicture(uint32_t word) {
    constexpr const char* BLANK_PICTURE = "                ";
    uint32_t kind = previewWordKind(word);
    uint32_t rotation = previewWordRotation(word);
    if (kind >= uint32_t(PIECE_KINDS) || rotation >= uint32_t(PIECE_ROTATIONS))
        return BLANK_PICTURE;
    return piecePicture(static_cast<int>(kind), static_cast<int>(rotation));
}
