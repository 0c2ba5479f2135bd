// Window handles stored as 4-byte REG_BINARY values (the desktop's ActiveWindowHandle, the
// viewer's RAPI_ThisHWND). 64-bit Windows keeps window handles within 32 bits so that 32-bit
// and 64-bit programs can share them: the stored form is the handle's low 32 bits, read back
// sign-extended, which gives the same handle in both builds.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace glimmora {

constexpr std::uint32_t HandleToStoredBits(std::uintptr_t handle) {
    return static_cast<std::uint32_t>(handle);
}

constexpr std::uintptr_t HandleFromStoredBits(std::uint32_t bits) {
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(bits)));
}

#ifdef _WIN32
inline std::uint32_t WindowToStoredBits(HWND window) {
    return HandleToStoredBits(reinterpret_cast<std::uintptr_t>(window));
}

inline HWND WindowFromStoredBits(std::uint32_t bits) {
    return reinterpret_cast<HWND>(HandleFromStoredBits(bits));
}
#endif

}  // namespace glimmora
