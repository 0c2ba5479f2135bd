// The real Dockhaven.exe under the emulation: the close box and the Close button are answered
// at once. Wine treats captioned windows as managed unless the prefix says otherwise, and with
// no window manager on our screens it then waits up to 2 s for each hidden window to be
// withdrawn, blocking the window's thread (4 s for a close box). The prefixes the project makes
// have unmanaged windows; this shows the window really answers within 200 ms.
#include <windows.h>

#include <gtest/gtest.h>

#include "desktop/app/form_layout.h"
#include "desktop/app/tray_icon_win.h"
#include "tests/desktop/app/dockhaven_fixture_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::test {
namespace {

using namespace desktop::app;

constexpr DWORD kAnswerMs = 200;

// Milliseconds from sending `message` to `target` until the window's thread answered it.
double AnswerMs(HWND target, UINT message, WPARAM w) {
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutA(target, message, w, 0, SMTO_NORMAL, 10000, &result), 0);
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

TEST(DockhavenCloseAnswer, CloseBoxAndCloseButtonHideTheWindowWithin200Ms) {
    WipeSettings();
    TempFolder pictures;
    SetText("ImageFolderPath", pictures.path());
    Launched copy = LaunchDockhaven("");
    ASSERT_TRUE(copy.process);
    const HWND form = WaitForMainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitUntil(10000, [&] { return IsWindowVisible(form) != FALSE; }));
    // Let the window reach the screen first: the wait only comes for a window that is mapped.
    Sleep(500);

    struct Way {
        const char* name;
        HWND target;
        UINT message;
        WPARAM w;
    };
    const Way ways[] = {
        {"close box (WM_SYSCOMMAND SC_CLOSE)", form, WM_SYSCOMMAND, SC_CLOSE},
        {"Close button", GetDlgItem(form, BTN_Close), BM_CLICK, 0},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(IsWindowVisible(form));
        EXPECT_LT(AnswerMs(way.target, way.message, way.w), kAnswerMs);
        EXPECT_FALSE(IsWindowVisible(form));
        // Back from the notification icon for the next way, and on the screen again.
        SendMessageA(form, kWmTrayCallback, 0, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(form) != FALSE; }));
        Sleep(500);
    }

    PostMessageA(form, WM_CLOSE, 0, 0);
    if (!ProcessEnded(copy.process.get(), 20000)) TerminateProcess(copy.process.get(), 99);
    WipeSettings();
}

}  // namespace
}  // namespace glimmora::test
