#include "device/dialogs/dialog_controls_win.h"

#include <commctrl.h>

#include "device/settings/viewer_options.h"

namespace glimmora::device::dialogs {

void FillOrientationList(HWND list) {
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* text : kOrientationItemTexts) {
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void SelectListItem(HWND list, int index) {
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SelectedListItem(HWND list) {
    const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetChecked(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void EnsureCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX init{sizeof(init),
                                  ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

HINSTANCE ResourceModule() { return ::GetModuleHandleW(nullptr); }

}  // namespace glimmora::device::dialogs
