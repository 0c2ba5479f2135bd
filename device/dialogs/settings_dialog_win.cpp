#include "device/dialogs/settings_dialog_win.h"

#include "common/unique_gdi_win.h"
#include "device/dialogs/dialog_controls_win.h"
#include "device/dialogs/options_heading.h"

#include <cwchar>
#include "device/dialogs/viewer_settings_apply_win.h"
#include "device/settings/viewer_settings_win.h"
#include "resources/device/dialog_ids.h"

namespace glimmora::device::dialogs {

namespace {

constexpr wchar_t kHeading[] = L"Options";

}  // namespace

SettingsDialog::SettingsDialog(association::AssociationPlaces places)
    : modulePath(association::CurrentModulePath().value_or(L"")),
      platformMajorVersion(association::PlatformMajorVersion()),
      places_(std::move(places)) {
    UseCaptionOk();
}

INT_PTR SettingsDialog::Run(HWND parent) {
    EnsureCommonControls();
    return RunModal(ResourceModule(), IDD_VIEWER_SETTINGS, parent);
}

INT_PTR SettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: Open(); return TRUE;
        case WM_PAINT: PaintHeading(); return TRUE;
        case WM_COMMAND:
            // Dismissed (IDCANCEL): nothing is written, the association is not touched.
            return HandleOkCancel(wParam);
        default: return FALSE;
    }
}

void SettingsDialog::Open() {
    HWND window = Handle();
    HWND list = ::GetDlgItem(window, IDC_ORIENTATION_LIST);
    FillOrientationList(list);
    const ViewerSettingsControls stored =
        ViewerSettingsFromStored(LoadOptionsValue(places_.settings));
    SelectListItem(list, stored.orientationItem);
    SetChecked(window, IDC_FIT_TO_SCREEN, stored.fitToScreen);
    SetChecked(window, IDC_ASSOCIATE_JPEG, stored.associateJpeg);
    // Another program may have taken .jpg since: then the box is cleared and the saved
    // association, no longer ours to give back, is forgotten.
    if (stored.associateJpeg && !association::AssociationKept(places_, modulePath)) {
        SetChecked(window, IDC_ASSOCIATE_JPEG, false);
        association::ForgetSavedAssociation(places_);
    }
}

void SettingsDialog::Confirm() {
    HWND window = Handle();
    ViewerSettingsControls controls;
    controls.associateJpeg = IsChecked(window, IDC_ASSOCIATE_JPEG);
    controls.orientationItem = SelectedListItem(::GetDlgItem(window, IDC_ORIENTATION_LIST));
    controls.fitToScreen = IsChecked(window, IDC_FIT_TO_SCREEN);
    ApplyViewerSettings(places_, controls, modulePath, platformMajorVersion);
    End(IDOK);
}

void SettingsDialog::PaintHeading() {
    HWND window = Handle();
    PaintDC paint(window);
    HDC dc = paint.get();

    LOGFONTW logFont{};
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    if (!dialogFont || !::GetObjectW(dialogFont, sizeof(logFont), &logFont)) return;
    logFont.lfWeight = FW_BOLD;
    UniqueFont bold(::CreateFontIndirectW(&logFont));
    if (!bold) return;
    SelectObjectScope selectFont(dc, bold.get());

    const COLORREF colour = ::GetSysColor(COLOR_ACTIVECAPTION);
    UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    if (!pen) return;
    SelectObjectScope selectPen(dc, pen.get());

    RECT listRect{};
    ::GetWindowRect(::GetDlgItem(window, IDC_ORIENTATION_LIST), &listRect);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&listRect), 2);
    RECT client{};
    ::GetClientRect(window, &client);
    SIZE text{};
    ::GetTextExtentPoint32W(dc, kHeading, static_cast<int>(wcslen(kHeading)), &text);

    const HeadingLayout layout = LayOutOptionsHeading(listRect.top, text.cx, text.cy, client.right);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    RECT band{layout.textLeft, layout.textTop, layout.textRight, layout.textBottom};
    ::DrawTextW(dc, kHeading, -1, &band, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::MoveToEx(dc, layout.lineFromX, layout.lineY, nullptr);
    ::LineTo(dc, layout.lineToX, layout.lineY);
}

}  // namespace glimmora::device::dialogs
