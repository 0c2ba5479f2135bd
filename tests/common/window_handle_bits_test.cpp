#include "common/window_handle_bits.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace glimmora {
namespace {

struct StoredHandleCase {
    std::uint32_t bits;
    std::int64_t handle;  // as the program of this build sees it, sign-extended
};

// Handles at the top of the 32-bit range come back negative, as 64-bit Windows hands them
// out; on a 32-bit build the same bits are the same handle.
TEST(WindowHandleBits, StoredBitsAreTheLow32BitsReadBackSignExtended) {
    const StoredHandleCase cases[] = {
        {0x00000000u, 0},          {0x000A0B0Cu, 0x000A0B0C},
        {0x7FFFFFFFu, 0x7FFFFFFF}, {0x80000000u, -0x80000000LL},
        {0xFFFF1234u, -0xEDCC},
    };
    for (const auto& c : cases) {
        const std::uintptr_t handle = HandleFromStoredBits(c.bits);
        EXPECT_EQ(static_cast<std::intptr_t>(handle), static_cast<std::intptr_t>(c.handle))
            << std::hex << c.bits;
        EXPECT_EQ(HandleToStoredBits(handle), c.bits) << std::hex << c.bits;
    }
}

#ifdef _WIN32
TEST(WindowHandleBits, ARealWindowSurvivesItsStoredForm) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HWND back = WindowFromStoredBits(WindowToStoredBits(window));
    EXPECT_EQ(back, window);
    EXPECT_TRUE(::IsWindow(back));
    ::DestroyWindow(window);
}
#endif

}  // namespace
}  // namespace glimmora
