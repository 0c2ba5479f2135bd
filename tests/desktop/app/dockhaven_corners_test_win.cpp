// The real Dockhaven.exe in the corners a Windows user reaches: the taskbar's minimize, the
// spin fields' page keys, the links' cursor, system shutdown; and the box that reports an
// exception escaping a window's handler.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "desktop/app/exception_box_win.h"
#include "desktop/app/form_layout.h"
#include "desktop/app/tray_icon_win.h"
#include "tests/desktop/app/dockhaven_fixture_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::test {
namespace {

using namespace desktop::app;

class DockhavenCorners : public DockhavenTest {
  protected:
    void Launch() {
        copy_ = LaunchDockhaven("");
        ASSERT_TRUE(copy_.process);
        form_ = WaitForMainWindow();
        ASSERT_NE(form_, nullptr);
        ASSERT_TRUE(WaitUntil(10000, [&] { return IsWindowVisible(form_) != FALSE; }));
        application_ = FindWindowA(kApplicationClass, kApplicationTitle);
        ASSERT_NE(application_, nullptr);
    }

    HWND application_ = nullptr;
};

TEST_F(DockhavenCorners, MinimizingTheTaskbarButtonHidesToTheIconAndEveryRestoreBringsItBack) {
    Launch();
    const struct {
        const char* how;
        void (*minimize)(HWND application);
    } minimizes[] = {
        {"the button of the active program",
         [](HWND a) { SendMessageA(a, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
        {"minimize-all", [](HWND a) { ShowWindow(a, SW_MINIMIZE); }},
    };
    const struct {
        const char* how;
        void (*restore)(HWND form);
    } restores[] = {
        {"the icon", [](HWND f) { SendMessageA(f, kWmTrayCallback, 0, WM_LBUTTONUP); }},
        {"a second launch", [](HWND) { RunDockhavenToEnd(""); }},
    };
    for (const auto& m : minimizes) {
        for (const auto& r : restores) {
            SCOPED_TRACE(std::string(m.how) + ", restored by " + r.how);
            m.minimize(application_);
            EXPECT_TRUE(WaitUntil(
                5000, [&] { return !IsWindowVisible(form_) && !IsWindowVisible(application_); }));
            EXPECT_FALSE(ProcessEnded(copy_.process.get(), 0));
            r.restore(form_);
            EXPECT_TRUE(WaitUntil(
                5000, [&] { return IsWindowVisible(form_) && IsWindowVisible(application_); }));
            EXPECT_FALSE(IsIconic(application_));
            EXPECT_FALSE(IsIconic(form_));
        }
    }
}

TEST_F(DockhavenCorners, PageUpAndPageDownStepTheSpinFieldsByTenWithinTheirRanges) {
    Launch();
    const struct {
        int id;
        const char* from;
        WPARAM key;
        const char* to;
    } cases[] = {
        {SPIN_PictureChangeInterval, "60", VK_PRIOR, "70"},
        {SPIN_PictureChangeInterval, "12", VK_NEXT, "5"},
        {SPIN_StartupDelayAfterDocking, "86395", VK_PRIOR, "86400"},
        {SPIN_StartupDelayAfterDocking, "25", VK_NEXT, "15"},
        {SPIN_PocketPCTempFiles_MaxCount, "95", VK_PRIOR, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.from);
        const HWND field = Control(c.id);
        EnableWindow(field, TRUE);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.from));
        PostMessageA(field, WM_KEYDOWN, c.key, 0);
        EXPECT_TRUE(WaitUntil(3000, [&] { return WindowText(field) == c.to; }))
            << WindowText(field);
        // The arrows go on from the new value.
        EXPECT_EQ(
            std::to_string(SendMessageA(Control(c.id + kSpinArrowsOffset), UDM_GETPOS32, 0, 0)),
            c.to);
    }
}

TEST_F(DockhavenCorners, TheWebLabelsShowTheHandCursor) {
    Launch();
    SetForegroundWindow(form_);
    const auto cursorOver = [&](int id) {
        SendMessageA(form_, WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(id)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        CURSORINFO info{};
        info.cbSize = sizeof info;
        GetCursorInfo(&info);
        return info.hCursor;
    };
    const HCURSOR plain = cursorOver(LABEL_FolderTitle);
    const HCURSOR url = cursorOver(LABEL_URL);
    EXPECT_NE(url, nullptr);
    EXPECT_NE(url, plain);
    EXPECT_EQ(cursorOver(LABEL_Copyright), url);
}

TEST_F(DockhavenCorners, SystemShutdownEndsTheProgramAsExitDoes) {
    const struct { bool running; } cases[] = {{false}, {true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.running ? "running" : "idle");
        WipeSettings();
        SetText("ImageFolderPath", pictures_.path());
        Launch();
        if (c.running) {
            Click(Control(BTN_Start));
            ASSERT_TRUE(IsWindowEnabled(Control(BTN_Stop)));
        }
        // A value the user typed: saved while idle, not while a session runs (Start saved them).
        SendMessageA(Control(SPIN_PictureChangeInterval), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>("77"));
        ASSERT_TRUE(ValueExists("ActiveWindowHandle"));
        EXPECT_EQ(SendMessageA(form_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_FALSE(ProcessEnded(copy_.process.get(), 200)) << "asking ends nothing";
        SendMessageA(form_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        // Once the answer is back the system may end the process: everything is done by then.
        EXPECT_FALSE(ValueExists("ActiveWindowHandle"));
        EXPECT_FALSE(IsWindow(form_));
        EXPECT_EQ(GetDword("PictureChangeInterval") == 77u, !c.running);
        EXPECT_TRUE(ProcessEnded(copy_.process.get(), 10000));
        form_ = nullptr;
    }
}

struct ExceptionBoxState {
    bool handledAfter = false;
};
ExceptionBoxState* current = nullptr;

// A named procedure, not a lambda: a 32-bit window procedure must be stdcall.
LRESULT CALLBACK ThrowingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleReportingExceptions(window, 0, [&]() -> LRESULT {
        if (message == WM_APP) throw std::runtime_error("The picture folder went away");
        if (message == WM_APP + 1) {
            current->handledAfter = true;
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    });
}

// The same guard wraps the handlers of both of Dockhaven's windows.
TEST(ExceptionBox, AnExceptionEscapingAHandlerIsShownAndTheLoopGoesOn) {
    ExceptionBoxState state;
    current = &state;
    WNDCLASSA cls{};
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "ExceptionBoxTestWindow";
    cls.lpfnWndProc = ThrowingWindowProc;
    RegisterClassA(&cls);
    const HWND window = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    std::string boxText;
    bool boxHasOk = false;
    // The next message goes only once the box was read: handled inside the box's own loop,
    // its quit would end the box before it could be found.
    std::thread closer([&] {
        HWND box = nullptr;
        WaitUntil(10000, [&] {
            box = FindWindowA("#32770", kApplicationTitle);
            return box != nullptr;
        });
        if (box) {
            boxText = WindowText(GetDlgItem(box, 0xFFFF));
            boxHasOk = GetDlgItem(box, IDOK) != nullptr;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        PostMessageA(window, WM_APP + 1, 0, 0);
    });
    PostMessageA(window, WM_APP, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    closer.join();
    DestroyWindow(window);
    EXPECT_EQ(boxText, "The picture folder went away.");
    EXPECT_TRUE(boxHasOk);
    EXPECT_TRUE(state.handledAfter);
}

}  // namespace
}  // namespace glimmora::test
