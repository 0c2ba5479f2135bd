#include "desktop/app/single_copy_win.h"

#include "desktop/app/form_layout.h"
#include "handoff/messages.h"

namespace glimmora::desktop::app {

SingleCopy ClaimSingleCopy() {
    SingleCopy copy;
    copy.mutex.reset(CreateMutexA(nullptr, TRUE, kMutexName));
    copy.first = GetLastError() != ERROR_ALREADY_EXISTS;
    return copy;
}

HWND FindRunningMainWindow(SettingsStore& store) {
    const std::optional<HWND> stored = store.ReadActiveWindowHandle();
    if (stored && *stored && IsWindow(*stored)) return *stored;
    return FindWindowA(kMainClass, kMainCaption);
}

void ActAsSecondCopy(LaunchArgument argument, SettingsStore& store) {
    switch (argument) {
        case LaunchArgument::kStart:
            if (const HWND main = FindRunningMainWindow(store)) {
                SendMessageA(main, handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
            }
            return;
        case LaunchArgument::kClose: {
            HWND target = FindRunningMainWindow(store);
            if (!target) target = FindWindowA(kApplicationClass, kApplicationTitle);
            if (target) SendMessageA(target, WM_CLOSE, 0, 0);
            return;
        }
        case LaunchArgument::kPlain:
            if (const HWND application = FindWindowA(kApplicationClass, kApplicationTitle)) {
                ShowWindow(application, SW_RESTORE);
                SetForegroundWindow(application);
            }
            return;
    }
}

}  // namespace glimmora::desktop::app
