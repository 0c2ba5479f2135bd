// The starting instance's side of the hand-off, against the real (Wine) registry.
#include <windows.h>

#include <gtest/gtest.h>

#include "device/viewer/app_key_win.h"
#include "device/viewer/slideshow_window_win.h"
#include "device/viewer/viewer_app_win.h"
#include "handoff/messages.h"
#include "handoff/registry_names.h"
#include "tests/device/viewer/window_driver_win.h"

namespace glimmora::device::viewer {
namespace {

class ViewerAppTest : public ::testing::Test {
  protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        const AppKey key = AppKey::OpenOrCreate();
        for (const wchar_t* name : {handoff::kRapiThisHwnd, handoff::kRapiDisplayFileName,
                                    handoff::kRapiDisplayInterval, handoff::kRapiDeleteFile})
            key.Delete(name);
    }
    static HWND MakeWindow() {
        return ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    }
};

TEST_F(ViewerAppTest, ALaunchIsHandedToTheLivingWindowWithItsValues) {
    const HWND running = MakeWindow();
    ASSERT_NE(running, nullptr);
    AppKey::OpenOrCreate().WriteWindow(handoff::kRapiThisHwnd, running);
    ViewerApp app;
    EXPECT_FALSE(app.InitApplication(L"\\My Documents\\Glimmora_001.jpg /65 /del"));
    const AppKey key = AppKey::OpenOrCreate();
    EXPECT_EQ(key.ReadString(handoff::kRapiDisplayFileName, 520),
              std::optional<std::wstring>(L"\\My Documents\\Glimmora_001.jpg"));
    EXPECT_EQ(key.ReadDword(handoff::kRapiDisplayInterval), std::optional<std::uint32_t>(65));
    EXPECT_EQ(key.ReadDword(handoff::kRapiDeleteFile), std::optional<std::uint32_t>(1));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, running, handoff::kWmViewerNotify, handoff::kWmViewerNotify,
                               PM_REMOVE));
    EXPECT_EQ(msg.wParam, handoff::kViewerShowPicture);
    EXPECT_EQ(msg.lParam, 0);
    ::DestroyWindow(running);
}

TEST_F(ViewerAppTest, AnEmptyLaunchIsHandedOverTooSoTheWindowRestartsItsTimer) {
    const HWND running = MakeWindow();
    AppKey::OpenOrCreate().WriteWindow(handoff::kRapiThisHwnd, running);
    ViewerApp app;
    EXPECT_FALSE(app.InitApplication(L""));
    EXPECT_EQ(AppKey::OpenOrCreate().ReadString(handoff::kRapiDisplayFileName, 520),
              std::optional<std::wstring>(L""));
    ::DestroyWindow(running);
}

TEST_F(ViewerAppTest, AStaleHandleLeftByAKilledViewerIsIgnored) {
    const HWND gone = MakeWindow();
    ::DestroyWindow(gone);
    AppKey::OpenOrCreate().WriteWindow(handoff::kRapiThisHwnd, gone);
    ViewerApp app;
    EXPECT_TRUE(app.InitApplication(L"\"\\My Documents\\a b.jpg\""));
    EXPECT_EQ(app.Command().cmdFile, L"\\My Documents\\a b.jpg");
    EXPECT_FALSE(AppKey::OpenOrCreate().ReadString(handoff::kRapiDisplayFileName, 520));
}

// This test program carries the window's template but not the picker's, so the picker
// cannot open.
TEST_F(ViewerAppTest, FolderModeWhosePickerCannotOpenEndsTheWindowAtOnce) {
    SlideshowWindow window;
    window.SetStart(L"", false, 0);
    const DWORD start = ::GetTickCount();
    // The steps never finish: only the window's own end can come before the 20 s timeout.
    EXPECT_FALSE(test::RunWindow(window, {[] { return false; }}, 20000));
    EXPECT_LT(::GetTickCount() - start, 10000u);
    // The window published its handle and took it away again.
    EXPECT_FALSE(AppKey::OpenOrCreate().ReadWindow(handoff::kRapiThisHwnd));
}

}  // namespace
}  // namespace glimmora::device::viewer
