// Conversions between window-system handles and the 32-bit words the game record keeps.
#pragma once

#include <cstdint>

// Handles of windows and GDI objects carry 32 significant bits even in 64-bit processes,
// where they are sign-extended; these follow the system's HandleToLong/LongToHandle.
inline uint32_t wordFromHandle(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

template <typename Handle>
Handle handleFromWord(uint32_t word) {
    return reinterpret_cast<Handle>(static_cast<intptr_t>(static_cast<int32_t>(word)));
}
