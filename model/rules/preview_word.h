// The word that tells a preview which piece comes next: the kind in the low 16 bits, the
// rotation it arrives in in the high 16 bits.
#pragma once

#include <cstdint>

constexpr uint32_t packPreviewWord(int32_t kind, int32_t rotation) {
    return (static_cast<uint32_t>(rotation) << 16) | (static_cast<uint32_t>(kind) & 0xFFFF);
}

constexpr uint32_t previewWordKind(uint32_t word) { return word & 0xFFFF; }
constexpr uint32_t previewWordRotation(uint32_t word) { return word >> 16; }
