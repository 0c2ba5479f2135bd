#include "common/window_base_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmora {
namespace {

constexpr wchar_t kClass[] = L"GlimmoraWindowBaseTest";

// Records what reached its handler; `log` outlives the window object.
class RecordingWindow : public WindowBase<RecordingWindow> {
  public:
    explicit RecordingWindow(std::vector<UINT>& log) : log_(log) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = &RecordingWindow::Proc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = kClass;
        ::RegisterClassW(&cls);  // fails harmlessly when already registered
        ::CreateWindowExW(0, kClass, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                          cls.hInstance, this);
    }
    bool handleKnownAtCreate = false;

  private:
    friend WindowBase<RecordingWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        log_.push_back(message);
        if (message == WM_CREATE) handleKnownAtCreate = handle() != nullptr;
        return DefaultHandling(message, wParam, lParam);
    }
    std::vector<UINT>& log_;
};

bool Saw(const std::vector<UINT>& log, UINT message) {
    for (UINT m : log) {
        if (m == message) return true;
    }
    return false;
}

TEST(WindowBase, HandlerGetsTheWindowFromCreationAndLetsItGoWhenTheSystemDestroysIt) {
    std::vector<UINT> log;
    RecordingWindow window(log);
    const HWND hwnd = window.handle();
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_TRUE(Saw(log, WM_NCCREATE));
    EXPECT_TRUE(window.handleKnownAtCreate);

    ::DestroyWindow(hwnd);
    EXPECT_TRUE(Saw(log, WM_DESTROY));
    EXPECT_TRUE(Saw(log, WM_NCDESTROY));
    EXPECT_EQ(window.handle(), nullptr);  // nothing left to destroy a second time
}

TEST(WindowBase, ObjectThatGoesFirstDestroysItsWindowWithoutItsHandler) {
    std::vector<UINT> log;
    HWND hwnd = nullptr;
    {
        RecordingWindow window(log);
        hwnd = window.handle();
        ASSERT_TRUE(::IsWindow(hwnd));
        log.clear();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(Saw(log, WM_DESTROY));  // the handler's object was already gone
}

}  // namespace
}  // namespace glimmora
