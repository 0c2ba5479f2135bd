#include "device/dialogs/options_dialog_win.h"

#include <commctrl.h>

#include "device/dialogs/dialog_controls_win.h"
#include "device/settings/viewer_settings_win.h"
#include "resources/device/dialog_ids.h"

namespace glimmora::device::dialogs {

OptionsDialog::OptionsDialog(SettingsKey settings) : settings_(std::move(settings)) {}

INT_PTR OptionsDialog::Run(HWND parent) {
    EnsureCommonControls();
    return RunModal(ResourceModule(), IDD_SLIDESHOW_OPTIONS, parent);
}

INT_PTR OptionsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: Open(); return TRUE;
        case WM_COMMAND: return HandleOkCancel(wParam);  // OK is "Start"
        default:
            // WM_ACTIVATE and WM_SETTINGCHANGE included: the default dialog handling.
            return FALSE;
    }
}

void OptionsDialog::Open() {
    HWND window = Handle();
    // Centred across the screen, 20 pixels below where the dialog manager put it.
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::MoveWindow(window, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, rect.top + 20, width,
                 height, TRUE);

    const SlideshowSettings stored = LoadSlideshowSettings(settings_);
    interval = stored.interval;
    orientation = stored.orientation;
    HWND list = ::GetDlgItem(window, IDC_ORIENTATION_LIST);
    FillOrientationList(list);
    SelectListItem(list, static_cast<int>(orientation));
    HWND spin = ::GetDlgItem(window, IDC_INTERVAL_SPIN);
    ::SendMessageW(spin, UDM_SETRANGE32, kMinSlideInterval, kMaxSlideInterval);
    ::SendMessageW(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(interval));
    // The calendar box is not loaded: it opens clear every time.
    SetChecked(window, IDC_SHOW_CALENDAR, false);
}

void OptionsDialog::Confirm() {
    HWND window = Handle();
    BOOL failed = FALSE;
    const LRESULT position = ::SendDlgItemMessageW(window, IDC_INTERVAL_SPIN, UDM_GETPOS32, 0,
                                                   reinterpret_cast<LPARAM>(&failed));
    interval = static_cast<std::uint32_t>(position);
    const int selected = SelectedListItem(::GetDlgItem(window, IDC_ORIENTATION_LIST));
    orientation = selected < 0 ? 0 : static_cast<std::uint32_t>(selected);
    showCalendar = IsChecked(window, IDC_SHOW_CALENDAR);
    SaveSlideshowSettings(settings_, SlideshowSettings{interval, orientation}, showCalendar);
    End(IDOK);
}

}  // namespace glimmora::device::dialogs
