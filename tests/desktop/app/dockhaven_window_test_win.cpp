// The real Dockhaven.exe, driven by messages: its controls, rules, notifications and the
// single-copy behaviour.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/window_handle_bits.h"
#include "desktop/app/form_layout.h"
#include "desktop/app/tray_icon_win.h"
#include "handoff/messages.h"
#include "tests/desktop/app/dockhaven_fixture_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::test {
namespace {

using namespace desktop::app;

class DockhavenWindow : public DockhavenTest {
  protected:

    void Launch(const std::string& arguments = "") {
        copy_ = LaunchDockhaven(arguments);
        ASSERT_TRUE(copy_.process);
        form_ = WaitForMainWindow();
        ASSERT_NE(form_, nullptr);
        // The caption is set half-way through creation: wait for the filled window, shown
        // unless the launch hides it.
        ASSERT_TRUE(WaitUntil(
            10000, [&] { return !WindowText(Control(SPIN_PocketPCTempFiles_MaxCount)).empty(); }));
        SendMessageA(form_, WM_NULL, 0, 0);
        if (arguments != "/start") {
            ASSERT_TRUE(WaitUntil(10000, [&] { return IsWindowVisible(form_) != FALSE; }));
        }
    }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    void SetCheck(int id, bool on) {
        if (Checked(Control(id)) != on) Click(Control(id));
        ASSERT_EQ(Checked(Control(id)), on);
    }
    // Closes the window as "Exit" does and waits for the process to end.
    void CloseAndWait() {
        PostMessageA(form_, WM_CLOSE, 0, 0);
        ASSERT_TRUE(ProcessEnded(copy_.process.get(), 20000));
    }

};

TEST_F(DockhavenWindow, ClassesCaptionsAndEveryControlOfTheTable) {
    Launch();
    char cls[64] = {};
    GetClassNameA(form_, cls, sizeof cls);
    EXPECT_STREQ(cls, "TCoreForm");
    EXPECT_NE(FindWindowA("TApplication", "Glimmora Desktop Image Server"), nullptr);
    RECT client{};
    GetClientRect(form_, &client);
    EXPECT_EQ(client.right, 302);
    EXPECT_EQ(client.bottom, 373);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlSpec& spec = kControls[i];
        SCOPED_TRACE(spec.name);
        const HWND control = Control(spec.id);
        ASSERT_NE(control, nullptr);
        if (spec.caption[0] != '\0' && spec.id != LABEL_PictureFolderPath) {
            EXPECT_EQ(WindowText(control), spec.caption);
        }
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, spec.x);
        EXPECT_EQ(r.top, spec.y);
        if (spec.kind != ControlKind::kSpin) {
            EXPECT_EQ(r.right - r.left, spec.width);
        }
        char kind[32] = {};
        GetClassNameA(control, kind, sizeof kind);
        const std::string expected =
            spec.kind == ControlKind::kSpin || spec.kind == ControlKind::kEdit ? "Edit"
            : (spec.kind == ControlKind::kButton || spec.kind == ControlKind::kCheck ||
               spec.kind == ControlKind::kRadio || spec.kind == ControlKind::kGroupBox ||
               spec.kind == ControlKind::kFlatButton)
                ? "Button"
                : "Static";
        EXPECT_EQ(_stricmp(kind, expected.c_str()), 0) << kind;
        if (spec.kind == ControlKind::kSpin) {
            char arrows[32] = {};
            GetClassNameA(Control(spec.id + kSpinArrowsOffset), arrows, sizeof arrows);
            EXPECT_EQ(_stricmp(arrows, "msctls_updown32"), 0);
            EXPECT_EQ(reinterpret_cast<HWND>(
                          SendMessageA(Control(spec.id + kSpinArrowsOffset), UDM_GETBUDDY, 0, 0)),
                      control);
        }
    }
    EXPECT_FALSE(Enabled(BTN_Stop));
    EXPECT_TRUE(Enabled(BTN_Start));
    // Written at load: how a second copy finds this one.
    std::optional<HWND> stored;
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDockhavenKey, 0, KEY_READ, &key),
                  ERROR_SUCCESS);
        std::uint32_t bits = 0;
        DWORD type = 0, size = sizeof bits;
        EXPECT_EQ(RegQueryValueExA(key, "ActiveWindowHandle", nullptr, &type,
                                   reinterpret_cast<BYTE*>(&bits), &size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(WindowFromStoredBits(bits), form_);
    }
}

TEST_F(DockhavenWindow, EnablingRuleForEveryCombinationAndWhileRunning) {
    Launch();
    for (int bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        const bool random = bits & 1, autoStart = bits & 2, keep = bits & 4, useDefault = bits & 8;
        // Use Default Folder can only be clicked while the kept-pictures controls are enabled.
        SetCheck(CHECK_DoNotRemoveTempFiles, true);
        SetCheck(CHECK_PPC_UseDefaultFolder, useDefault);
        SetCheck(CHECK_DoNotRemoveTempFiles, keep);
        SetCheck(CHECK_AutoStart, autoStart);
        Click(Control(random ? RADIO_DisplayOrder_Random : RADIO_DisplayOrder_Name));
        for (int id : {GBOX_DisplayOrder, RADIO_DisplayOrder_Random, RADIO_DisplayOrder_Date,
                       SPIN_PictureChangeInterval, CHECK_AutoStart, CHECK_ShowCalendar,
                       CHECK_DoNotRemoveTempFiles, BTN_Change, BTN_Start, BTN_Browse, BTN_Close}) {
            EXPECT_TRUE(Enabled(id)) << id;
        }
        EXPECT_EQ(Enabled(RADIO_DisplayOrder_Ascending), !random);
        EXPECT_EQ(Enabled(RADIO_DisplayOrder_Descending), !random);
        EXPECT_EQ(Enabled(LABEL_StartupDelayAfterDocking), autoStart);
        EXPECT_EQ(Enabled(SPIN_StartupDelayAfterDocking), autoStart);
        for (int id : {LABEL_PocketPCFolderPath, CHECK_PPC_UseDefaultFolder,
                       LABEL_PocketPCTempFiles_MaxCount, SPIN_PocketPCTempFiles_MaxCount}) {
            EXPECT_EQ(Enabled(id), keep) << id;
        }
        EXPECT_EQ(Enabled(EDIT_PocketPCFolderPath), keep && !useDefault);
        EXPECT_FALSE(Enabled(BTN_Stop));
    }
    Click(Control(BTN_Start));
    ASSERT_TRUE(Enabled(BTN_Stop));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlSpec& spec = kControls[i];
        const bool stays = spec.id == BTN_Stop || spec.id == BTN_Browse || spec.id == BTN_Close ||
                           spec.y < 95 || spec.kind == ControlKind::kBand ||
                           spec.kind == ControlKind::kFiller || spec.kind == ControlKind::kPanel;
        if (!stays) {
            EXPECT_FALSE(Enabled(spec.id)) << spec.name;
        }
    }
    EXPECT_TRUE(Enabled(BTN_Browse));
    EXPECT_TRUE(Enabled(BTN_Close));
    Click(Control(BTN_Stop));
    EXPECT_FALSE(Enabled(BTN_Stop));
    EXPECT_TRUE(Enabled(BTN_Start));
}

TEST_F(DockhavenWindow, StoredValuesOutsideTheirRangesAreShownAndSavedBounded) {
    SetDword("PictureChangeInterval", 2);
    SetText("AutoStartDelay", "soon");  // of another type: its default
    SetDword("PPC_TempMaxFileCount", 500);
    SetDword("FileSortBy", 7);
    Launch();
    EXPECT_EQ(WindowText(Control(SPIN_PictureChangeInterval)), "5");
    EXPECT_EQ(WindowText(Control(SPIN_StartupDelayAfterDocking)), "180");
    EXPECT_EQ(WindowText(Control(SPIN_PocketPCTempFiles_MaxCount)), "100");
    EXPECT_TRUE(Checked(Control(RADIO_DisplayOrder_Random)));
    EXPECT_FALSE(Enabled(RADIO_DisplayOrder_Ascending));
    CloseAndWait();
    EXPECT_EQ(GetDword("PictureChangeInterval"), 5u);
    EXPECT_EQ(GetDword("PPC_TempMaxFileCount"), 100u);
    EXPECT_EQ(GetDword("FileSortBy"), 0u);
    EXPECT_FALSE(ValueExists("ActiveWindowHandle"));
}

TEST_F(DockhavenWindow, IntervalStoredAsTextReadsAsSixtyAndTypedTextAsTheMinimum) {
    SetText("PictureChangeInterval", "fast");
    Launch();
    EXPECT_EQ(WindowText(Control(SPIN_PictureChangeInterval)), "60");
    SendMessageA(Control(SPIN_PictureChangeInterval), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("abc"));
    SendMessageA(Control(SPIN_StartupDelayAfterDocking), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("999999"));
    CloseAndWait();
    EXPECT_EQ(GetDword("PictureChangeInterval"), 5u);
    EXPECT_EQ(GetDword("AutoStartDelay"), 86400u);
}

TEST_F(DockhavenWindow, EmptyingTheHandheldFolderAndLeavingItChecksUseDefaultFolder) {
    SetText("PPC_TempFilePath", "  \\Kept Pictures ");
    Launch();
    const HWND edit = Control(EDIT_PocketPCFolderPath);
    EXPECT_EQ(WindowText(edit), "  \\Kept Pictures ");
    EXPECT_FALSE(Checked(Control(CHECK_PPC_UseDefaultFolder)));
    ASSERT_TRUE(Enabled(EDIT_PocketPCFolderPath));
    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(EDIT_PocketPCFolderPath, EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(edit));
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(EDIT_PocketPCFolderPath, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(edit));
    EXPECT_TRUE(Checked(Control(CHECK_PPC_UseDefaultFolder)));
    EXPECT_FALSE(Enabled(EDIT_PocketPCFolderPath));
}

TEST_F(DockhavenWindow, HandheldFolderIsSavedWithoutItsBlanks) {
    SetText("PPC_TempFilePath", "  \\Kept Pictures ");
    Launch();
    CloseAndWait();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDockhavenKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char text[64] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueExA(key, "PPC_TempFilePath", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_STREQ(text, "\\Kept Pictures");
}

TEST_F(DockhavenWindow, ALongFolderIsShownAsTheEndOfItsPath) {
    std::string folder = pictures_.path();
    for (const char* part :
         {"A folder with a rather long name indeed", "Holidays by the sea in summer", "Pictures"}) {
        folder += part;
        folder += '\\';
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    SetText("ImageFolderPath", folder);
    Launch();
    const std::string shown = WindowText(Control(LABEL_PictureFolderPath));
    ASSERT_EQ(shown.rfind("... ", 0), 0u) << shown;
    const std::string tail = shown.substr(4);
    ASSERT_FALSE(tail.empty());
    EXPECT_EQ(folder.compare(folder.size() - tail.size(), tail.size(), tail), 0) << shown;
    EXPECT_NE(tail.find("Pictures\\"), std::string::npos);
}

TEST_F(DockhavenWindow, AutoStartNotificationRestartsTheSessionOnlyWhenAutoStartIsSet) {
    SetDword("AutoStart", 1);
    SetDword("AutoStartDelay", 3600);
    Launch();
    SendMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
    ASSERT_TRUE(Enabled(BTN_Stop));
    std::vector<DWORD> before = ThreadsOf(copy_.id);
    SendMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
    ASSERT_TRUE(Enabled(BTN_Stop));
    std::vector<DWORD> after = ThreadsOf(copy_.id);
    // The old session thread is gone and a new one runs.
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::vector<DWORD> gone, added;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(gone));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    EXPECT_GE(gone.size(), 1u);
    EXPECT_GE(added.size(), 1u);

    Click(Control(BTN_Stop));
    SetCheck(CHECK_AutoStart, false);
    SendMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
    EXPECT_FALSE(Enabled(BTN_Stop));
    Click(Control(BTN_Start));
    const std::vector<DWORD> running = ThreadsOf(copy_.id);
    SendMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
    EXPECT_TRUE(Enabled(BTN_Stop));
    EXPECT_EQ(ThreadsOf(copy_.id).size(), running.size());
    Click(Control(BTN_Stop));
    // After a session the delay field follows Auto Start again.
    EXPECT_FALSE(Enabled(SPIN_StartupDelayAfterDocking));
}

TEST_F(DockhavenWindow, StartLaunchWithoutAutoStartOnlyShowsTheIcon) {
    SetDword("AutoStart", 0);
    Launch("/start");
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(form_));
    EXPECT_FALSE(Enabled(BTN_Stop));
}

TEST_F(DockhavenWindow, CloseBoxAndCloseButtonHideTheWindowAndTheProcessLivesOn) {
    Launch();
    ASSERT_TRUE(IsWindowVisible(form_));
    SendMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(form_));
    EXPECT_FALSE(ProcessEnded(copy_.process.get(), 300));
    SendMessageA(form_, kWmTrayCallback, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(form_));
    Click(Control(BTN_Close));
    EXPECT_FALSE(IsWindowVisible(form_));
    EXPECT_FALSE(ProcessEnded(copy_.process.get(), 300));
}

TEST_F(DockhavenWindow, ExitFromTheIconMenuEndsTheProcessAndRemovesTheWindowHandle) {
    Launch();
    ASSERT_TRUE(ValueExists("ActiveWindowHandle"));
    PostMessageA(form_, kWmTrayCallback, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil(5000, [&] {
        menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }));
    // The last item is "Exit": Up from no selection wraps to it.
    PostMessageA(form_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(form_, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(ProcessEnded(copy_.process.get(), 20000));
    DWORD code = 1;
    GetExitCodeProcess(copy_.process.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(ValueExists("ActiveWindowHandle"));
}

TEST_F(DockhavenWindow, SecondPlainCopyRestoresTheFirstAndEnds) {
    Launch();
    SendMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_FALSE(IsWindowVisible(form_));
    EXPECT_EQ(RunDockhavenToEnd(""), 0u);
    EXPECT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(form_) != FALSE; }));
    // Still exactly one main window.
    EXPECT_EQ(FindWindowExA(nullptr, form_, "TCoreForm", nullptr), nullptr);
}

TEST_F(DockhavenWindow, SecondCopyWithCloseEndsTheRunningCopy) {
    Launch();
    EXPECT_EQ(RunDockhavenToEnd("/CLOSE"), 0u);
    EXPECT_TRUE(ProcessEnded(copy_.process.get(), 20000));
    EXPECT_FALSE(ValueExists("ActiveWindowHandle"));
}

TEST_F(DockhavenWindow, CloseWithNoCopyRunningStartsNothing) {
    EXPECT_EQ(RunDockhavenToEnd("/close"), 0u);
    EXPECT_EQ(FindWindowA("TCoreForm", nullptr), nullptr);
    EXPECT_FALSE(ValueExists("ActiveWindowHandle"));
}

TEST_F(DockhavenWindow, LaunchFailureBoxOnlyWhileTheWindowIsVisible) {
    Launch();
    PostMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyLaunchFailed, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil(5000, [&] { return (box = FindBox(copy_.id, kErrorCaption)) != nullptr; }));
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), kLaunchFailedText);
    EXPECT_EQ(GetWindow(box, GW_OWNER), form_);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil(5000, [&] { return FindBox(copy_.id, kErrorCaption) == nullptr; }));

    SendMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(form_, handoff::kWmServerNotify, handoff::kNotifyLaunchFailed, 0);
    SendMessageA(form_, WM_NULL, 0, 0);  // the posted notification has been handled after this
    Sleep(300);
    EXPECT_EQ(FindBox(copy_.id, kErrorCaption), nullptr);
}

TEST_F(DockhavenWindow, AStoredFolderThatIsGoneIsReplacedByTheDefaultAndSavedAtClose) {
    const std::string gone = pictures_.path() + "Gone\\";
    SetText("ImageFolderPath", gone);
    Launch();
    EXPECT_NE(WindowText(Control(LABEL_PictureFolderPath)), gone);
    CloseAndWait();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDockhavenKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char text[MAX_PATH] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueExA(key, "ImageFolderPath", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    const DWORD attributes = GetFileAttributesA(text);
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << text;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(text[lstrlenA(text) - 1], '\\');
}

}  // namespace
}  // namespace glimmora::test
