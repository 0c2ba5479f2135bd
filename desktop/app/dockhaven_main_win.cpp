// Dockhaven.exe: one copy per user session; a second copy hands its command line to the
// first and ends.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "desktop/app/application_window_win.h"
#include "desktop/app/core_form_win.h"
#include "desktop/app/form_rules.h"
#include "desktop/app/single_copy_win.h"

using namespace glimmora::desktop;
using namespace glimmora::desktop::app;

namespace {

std::string FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string first;
    if (arguments && count > 1) {
        const int bytes =
            WideCharToMultiByte(CP_ACP, 0, arguments[1], -1, nullptr, 0, nullptr, nullptr);
        if (bytes > 1) {
            first.resize(static_cast<std::size_t>(bytes - 1));
            WideCharToMultiByte(CP_ACP, 0, arguments[1], -1, first.data(), bytes, nullptr, nullptr);
        }
    }
    LocalFree(arguments);
    return first;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const LaunchArgument argument = ClassifyLaunchArgument(FirstArgument());
    SettingsStore store;
    const SingleCopy copy = ClaimSingleCopy();
    if (!copy.first) {
        ActAsSecondCopy(argument, store);
        return 0;
    }
    if (argument == LaunchArgument::kClose) return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);  // the folder browser needs the shell's COM
    {
        ApplicationWindow application;
        FormOptions options;
        options.store = store;
        options.startArgument = argument == LaunchArgument::kStart;
        TCoreForm form(application, std::move(options));
        if (argument != LaunchArgument::kStart) {
            ShowWindow(application.handle(), SW_SHOWNA);
            ShowWindow(form.handle(), SW_SHOW);
            SetForegroundWindow(form.handle());
        }
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (form.handle() && IsDialogMessageA(form.handle(), &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    store.RemoveActiveWindowHandle();
    CoUninitialize();
    return 0;
}
