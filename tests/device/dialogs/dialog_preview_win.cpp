// dialog-preview: shows one of the viewer's dialogs on its own, on the settings key and the
// folders of the handheld it runs in, so the dialog can be seen and photographed.
//
//   dialog-preview SECONDS options|settings|picker [STORED_FOLDER]
//
// After SECONDS the dialog is cancelled (and any box it opened with it).
// Exit status: the dialog's result (1 OK, 2 Cancel), 3 for usage.
#include <windows.h>

#include <cstdio>
#include <string>

#include "device/dialogs/folder_picker_dialog_win.h"
#include "device/dialogs/options_dialog_win.h"
#include "device/dialogs/settings_dialog_win.h"

namespace {

BOOL CALLBACK Cancel(HWND window, LPARAM) {
    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CancelEverything(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Cancel, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace glimmora::device::dialogs;
    const int seconds = argc >= 3 ? _wtoi(argv[1]) : 0;
    const std::wstring which = argc >= 3 ? argv[2] : L"";
    if (seconds <= 0 || (which != L"options" && which != L"settings" && which != L"picker")) {
        std::fputs("usage: dialog-preview SECONDS options|settings|picker [STORED_FOLDER]\n",
                   stderr);
        return 3;
    }
    ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, CancelEverything);
    if (which == L"options") return static_cast<int>(OptionsDialog().Run(nullptr));
    if (which == L"settings") return static_cast<int>(SettingsDialog().Run(nullptr));
    FolderPickerDialog picker;
    if (argc >= 4) picker.chosenFolder = argv[3];
    return static_cast<int>(picker.Run(nullptr));
}
