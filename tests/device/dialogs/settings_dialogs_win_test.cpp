// The options and settings dialogs run for real, driven from inside their message loops.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "device/association/association_rules.h"
#include "device/dialogs/options_dialog_win.h"
#include "device/dialogs/settings_dialog_win.h"
#include "device/settings/viewer_settings.h"
#include "dialog_script_win.h"
#include "resources/device/dialog_ids.h"
#include "scratch_registry_win.h"

namespace glimmora::device::dialogs {
namespace {

using test::Click;
using test::DialogScript;
using test::WindowText;

const std::wstring kAppKey = L"Software\\Kestrova\\Glimmora";
const std::wstring kCommandKey = L"jpegfile\\Shell\\Open\\Command";

int Selected(HWND dialog) {
    return static_cast<int>(
        ::SendDlgItemMessageW(dialog, IDC_ORIENTATION_LIST, CB_GETCURSEL, 0, 0));
}
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// What a dialog draws can be read off the screen only once the screen shows its whole client
// area: right after it opens it may not be mapped yet, or still lie under a window that is
// closing.
bool ClientOnScreen(HWND dialog) {
    if (!::IsWindowVisible(dialog)) return false;
    ::SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT client{};
    ::GetClientRect(dialog, &client);
    HDC dc = ::GetDC(dialog);
    const bool readable = ::GetPixel(dc, 0, 0) != CLR_INVALID &&
                          ::GetPixel(dc, client.right - 1, client.bottom - 1) != CLR_INVALID;
    ::ReleaseDC(dialog, dc);
    return readable;
}

class OptionsDialogTest : public testing::Test {
  protected:
    // Opens the dialog, hands it to `look`, then presses `button`.
    INT_PTR RunOptions(OptionsDialog& dialog, std::function<void(HWND)> look, int button) {
        DialogScript script;
        script.Then([&] {
            look(dialog.Handle());
            Click(dialog.Handle(), button);
            return true;
        });
        return script.Run([&] { return dialog.Run(nullptr); });
    }
    std::optional<DWORD> Stored(const wchar_t* name) {
        return reg.Dword(reg.currentUser(), kAppKey, name);
    }

    test::ScratchRegistry reg;
};

TEST_F(OptionsDialogTest, OpensAsItsTemplateWithTheDefaultsOfAnEmptyRegistry) {
    OptionsDialog dialog(reg.settings());
    const INT_PTR result = RunOptions(
        dialog,
        [](HWND d) {
            EXPECT_EQ(WindowText(d), L" Slideshow Options - Glimmora");
            test::ExpectControls(
                d, {
                       {-1, L"Static", L"Picture Change Interval (sec.)", 3, 5, 98, 8},
                       {-1, L"Static", L"Display Orientation", 3, 20, 66, 8},
                       {IDC_ORIENTATION_LIST, L"ComboBox", L" Normal", 70, 19, 68, 63},
                       {IDC_SHOW_CALENDAR, L"Button", L"Show Calendar/Clock", 3, 34, 83, 10},
                       {IDOK, L"Button", L"Start", 48, 48, 44, 14},
                       {IDCANCEL, L"Button", L"Cancel", 94, 48, 44, 14},
                   });
            EXPECT_EQ(WindowText(::GetDlgItem(d, IDC_INTERVAL_EDIT)), L"60");
            // The spin control sits on the edit's right edge, with the edit as its buddy
            HWND spin = ::GetDlgItem(d, IDC_INTERVAL_SPIN);
            EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageW(spin, UDM_GETBUDDY, 0, 0)),
                      ::GetDlgItem(d, IDC_INTERVAL_EDIT));
            // (it overlaps the edit's border by up to 2 pixels).
            const RECT spinRect = test::ChildRect(d, IDC_INTERVAL_SPIN);
            EXPECT_NEAR(spinRect.right, test::DialogUnits(d, 102, 4, 36, 14).right, 2);
            EXPECT_NEAR(spinRect.left, test::ChildRect(d, IDC_INTERVAL_EDIT).right, 2);
            EXPECT_EQ(::SendDlgItemMessageW(d, IDC_ORIENTATION_LIST, CB_GETCOUNT, 0, 0), 5);
            EXPECT_FALSE(Checked(d, IDC_SHOW_CALENDAR));
            // Centred across the screen.
            RECT r{};
            ::GetWindowRect(d, &r);
            EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
        },
        IDCANCEL);
    EXPECT_EQ(result, IDCANCEL);
    // Cancel writes nothing, not even the key.
    EXPECT_FALSE(reg.KeyExists(reg.currentUser(), kAppKey));
}

TEST_F(OptionsDialogTest, KeepsTheLongestIntervalAndIgnoresAnUnknownOrientation) {
    reg.SetDword(reg.currentUser(), kAppKey, kSlideshowInterval, 86400);
    reg.SetDword(reg.currentUser(), kAppKey, kSlideshowDisplayOri, 7);
    OptionsDialog dialog(reg.settings());
    const INT_PTR result = RunOptions(
        dialog,
        [](HWND d) {
            EXPECT_EQ(WindowText(::GetDlgItem(d, IDC_INTERVAL_EDIT)), L"86400");
            EXPECT_EQ(Selected(d), 0);
        },
        IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.interval, 86400u);
    EXPECT_EQ(dialog.orientation, 0u);
    EXPECT_FALSE(dialog.showCalendar);
    EXPECT_EQ(Stored(kSlideshowInterval), DWORD{86400});
    EXPECT_EQ(Stored(kSlideshowDisplayOri), DWORD{0});
    EXPECT_EQ(Stored(L"ShowCalendar"), DWORD{0});
}

TEST_F(OptionsDialogTest, StartStoresWhatIsShownAndTheCalendarBoxOpensClearEveryTime) {
    reg.SetDword(reg.currentUser(), kAppKey, kSlideshowDisplayOri, 3);
    {
        OptionsDialog dialog(reg.settings());
        RunOptions(
            dialog,
            [](HWND d) {
                EXPECT_EQ(Selected(d), 3);
                ::SendDlgItemMessageW(d, IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, 15);
                ::SendDlgItemMessageW(d, IDC_ORIENTATION_LIST, CB_SETCURSEL, 4, 0);
                ::CheckDlgButton(d, IDC_SHOW_CALENDAR, BST_CHECKED);
            },
            IDOK);
        EXPECT_EQ(dialog.interval, 15u);
        EXPECT_EQ(dialog.orientation, 4u);
        EXPECT_TRUE(dialog.showCalendar);
        EXPECT_EQ(Stored(L"ShowCalendar"), DWORD{1});
    }
    OptionsDialog again(reg.settings());
    RunOptions(
        again,
        [](HWND d) {
            EXPECT_FALSE(Checked(d, IDC_SHOW_CALENDAR));
            EXPECT_EQ(WindowText(::GetDlgItem(d, IDC_INTERVAL_EDIT)), L"15");
            EXPECT_EQ(Selected(d), 4);
            // A typed interval beyond the range is not taken: the spin keeps its position.
            ::SetDlgItemTextW(d, IDC_INTERVAL_EDIT, L"0");
        },
        IDOK);
    EXPECT_EQ(again.interval, 15u);
    EXPECT_EQ(Stored(L"ShowCalendar"), DWORD{0});
}

class SettingsDialogTest : public testing::Test {
  protected:
    INT_PTR RunSettings(std::function<void(HWND)> act, int command) {
        SettingsDialog dialog(reg.places());
        dialog.modulePath = kModule;
        dialog.platformMajorVersion = 5;
        DialogScript script;
        script.Then([&] { return ClientOnScreen(dialog.Handle()); }).Then([&] {
            act(dialog.Handle());
            ::SendMessageW(dialog.Handle(), WM_COMMAND, command, 0);
            return true;
        });
        return script.Run([&] { return dialog.Run(nullptr); });
    }
    std::optional<std::wstring> Saved(const wchar_t* name) {
        return reg.Text(reg.currentUser(), kAppKey, name);
    }

    const std::wstring kModule = L"\\Program Files\\Glimmora\\Glimmora.exe";
    test::ScratchRegistry reg;
};

TEST_F(SettingsDialogTest, OpensAsItsTemplateWithAutoRightAndBothBoxesClear) {
    const INT_PTR result = RunSettings(
        [](HWND d) {
            EXPECT_EQ(WindowText(d), L"Glimmora");
            EXPECT_TRUE(::GetWindowLongW(d, GWL_STYLE) & WS_SYSMENU);
            test::ExpectControls(
                d, {
                       {IDC_ORIENTATION_LABEL, L"Static", L"Display Orientation", 3, 22, 66, 8},
                       {IDC_ORIENTATION_LIST, L"ComboBox", L" Auto (Right)", 70, 20, 68, 63},
                       {IDC_ASSOCIATE_JPEG, L"Button", L"Open JPEG/JPG files with Glimmora", 3, 38,
                        135, 10},
                       {IDC_FIT_TO_SCREEN, L"Button", L"Fit to Screen", 3, 51, 135, 10},
                       {-1, L"Static", L"Glimmora v1.3.0", 3, 70, 135, 8},
                   });
            EXPECT_FALSE(Checked(d, IDC_ASSOCIATE_JPEG));
            EXPECT_FALSE(Checked(d, IDC_FIT_TO_SCREEN));
        },
        IDCANCEL);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(reg.KeyExists(reg.currentUser(), kAppKey));
}

// The platform's stand-in for the caption's OK button: reached by the mouse and by Tab, below
// the dialog's own controls.
TEST_F(SettingsDialogTest, TheCaptionOkStandInConfirmsByMouseAndByKeyboard) {
    for (const bool byKeyboard : {false, true}) {
        SCOPED_TRACE(byKeyboard ? "keyboard" : "mouse");
        SettingsDialog dialog(reg.places());
        dialog.modulePath = kModule;
        dialog.platformMajorVersion = 5;
        HWND d = nullptr, ok = nullptr;
        DialogScript script;
        script.Then([&] {
            d = dialog.Handle();
            if (!ClientOnScreen(d)) return false;
            ok = ::GetDlgItem(d, IDOK);
            EXPECT_NE(ok, nullptr);
            if (!ok) return true;
            EXPECT_EQ(test::ClassName(ok), L"Button");
            EXPECT_EQ(WindowText(ok), L"OK");
            RECT client{};
            ::GetClientRect(d, &client);
            const RECT r = test::ChildRect(d, ok);
            EXPECT_GE(r.top, test::ChildRect(d, ::GetDlgItem(d, IDC_FIT_TO_SCREEN)).bottom);
            EXPECT_GE(r.top, test::DialogUnits(d, 3, 93, 135, 8).bottom)
                << "below the last line of text";
            EXPECT_LE(r.bottom, client.bottom);
            EXPECT_LE(r.right, client.right);
            ::CheckDlgButton(d, IDC_FIT_TO_SCREEN, BST_CHECKED);
            if (!byKeyboard) {
                Click(d, IDOK);
                return true;
            }
            ::SetFocus(::GetDlgItem(d, IDC_FIT_TO_SCREEN));
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            return true;
        });
        if (byKeyboard) {
            script.Then([&] {
                if (::GetFocus() != ok) return false;
                ::PostMessageW(ok, WM_KEYDOWN, VK_SPACE, 0);
                ::PostMessageW(ok, WM_KEYUP, VK_SPACE, 0xC0000000);
                return true;
            });
        }
        EXPECT_EQ(script.Run([&] { return dialog.Run(nullptr); }), IDOK);
        EXPECT_EQ(reg.Dword(reg.currentUser(), kAppKey, kOptionsValue), DWORD{(2u << 28) | 2u});
        reg.SetDword(reg.currentUser(), kAppKey, kOptionsValue, 2u << 28);
    }
}

TEST_F(SettingsDialogTest, DrawsTheOptionsHeadingInTheCaptionColour) {
    RunSettings(
        [](HWND d) {
            ::RedrawWindow(d, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            const RECT list = test::ChildRect(d, IDC_ORIENTATION_LIST);
            RECT client{};
            ::GetClientRect(d, &client);
            HDC dc = ::GetDC(d);
            const COLORREF caption = ::GetSysColor(COLOR_ACTIVECAPTION);
            // The line runs 8 pixels above the list to the right edge; nothing of it below.
            EXPECT_EQ(::GetPixel(dc, client.right - 3, list.top - 8), caption);
            EXPECT_NE(::GetPixel(dc, client.right - 3, list.top - 7), caption);
            int textPixels = 0;
            for (int y = list.top - 25; y < list.top - 5; ++y) {
                for (int x = 5; x < 40; ++x) textPixels += ::GetPixel(dc, x, y) == caption;
            }
            ::ReleaseDC(d, dc);
            EXPECT_GT(textPixels, 20) << "no heading text left of the line";
        },
        IDCANCEL);
}

TEST_F(SettingsDialogTest, ConfirmingUnchangedRewritesOptionsAndLeavesTheAssociation) {
    reg.SetJpegClass(L"jpegfile", L"pimg.exe \"%1\"", L"pimg.exe,-101");
    reg.SetDword(reg.currentUser(), kAppKey, kOptionsValue, (3u << 28) | 2u);
    RunSettings(
        [](HWND d) {
            EXPECT_EQ(Selected(d), 3);
            EXPECT_TRUE(Checked(d, IDC_FIT_TO_SCREEN));
        },
        IDOK);
    EXPECT_EQ(reg.Dword(reg.currentUser(), kAppKey, kOptionsValue), DWORD{(3u << 28) | 2u});
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"pimg.exe \"%1\"");
    EXPECT_FALSE(Saved(association::kOldShellOpenCommand));
}

TEST_F(SettingsDialogTest, OkTwiceTakesTheAssociationOverOnceAndClearingGivesItBack) {
    reg.SetJpegClass(L"jpegfile", L"pimg.exe \"%1\"", L"pimg.exe,-101");
    for (int round = 0; round < 2; ++round) {
        RunSettings(
            [&](HWND d) {
                EXPECT_EQ(Checked(d, IDC_ASSOCIATE_JPEG), round == 1);
                ::CheckDlgButton(d, IDC_ASSOCIATE_JPEG, BST_CHECKED);
            },
            IDOK);
        EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr),
                  association::OpenCommandFor(kModule));
        EXPECT_EQ(Saved(association::kOldShellOpenCommand), L"pimg.exe \"%1\"");
        EXPECT_EQ(reg.Dword(reg.currentUser(), kAppKey, kOptionsValue), DWORD{(2u << 28) | 1u});
    }
    RunSettings([](HWND d) { ::CheckDlgButton(d, IDC_ASSOCIATE_JPEG, BST_UNCHECKED); }, IDOK);
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"pimg.exe \"%1\"");
    EXPECT_EQ(reg.Text(reg.classes(), L"jpegfile\\DefaultIcon", nullptr), L"pimg.exe,-101");
    EXPECT_FALSE(Saved(association::kOldShellOpenCommand));
}

TEST_F(SettingsDialogTest, AnotherProgramsTakeOverClearsTheBoxAndForgetsTheSavedAssociation) {
    reg.SetJpegClass(L"jpegfile", L"\"\\Windows\\Other.exe\" %1", L"other.exe,0");
    reg.SetDword(reg.currentUser(), kAppKey, kOptionsValue, 1);
    reg.SetText(reg.currentUser(), kAppKey, association::kOldShellOpenCommand, L"pimg.exe \"%1\"");
    reg.SetText(reg.currentUser(), kAppKey, association::kOldDefaultIcon, L"pimg.exe,-101");
    RunSettings([](HWND d) { EXPECT_FALSE(Checked(d, IDC_ASSOCIATE_JPEG)); }, IDCANCEL);
    EXPECT_FALSE(Saved(association::kOldShellOpenCommand));
    EXPECT_FALSE(Saved(association::kOldDefaultIcon));
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"\"\\Windows\\Other.exe\" %1");
    // Dismissed: Options is left as it was.
    EXPECT_EQ(reg.Dword(reg.currentUser(), kAppKey, kOptionsValue), DWORD{1});
}

}  // namespace
}  // namespace glimmora::device::dialogs
