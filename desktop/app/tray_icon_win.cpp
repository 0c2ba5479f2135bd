#include "desktop/app/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

namespace glimmora::desktop::app {

namespace {
HICON LoadSmallIcon(int id) {
    if (id == 0) return nullptr;
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
}

NOTIFYICONDATAA BaseData(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}
}  // namespace

bool TrayIcon::Add() {
    icon_.reset(LoadSmallIcon(iconId_));
    NOTIFYICONDATAA data = BaseData(window_);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kWmTrayCallback;
    data.hIcon = icon_.get();
    std::strncpy(data.szTip, kTrayTip, sizeof data.szTip - 1);
    added_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    return added_;
}

void TrayIcon::SetIcon(int resourceId) {
    UniqueIcon icon(LoadSmallIcon(resourceId));
    NOTIFYICONDATAA data = BaseData(window_);
    data.uFlags = NIF_ICON;
    data.hIcon = icon.get();
    Shell_NotifyIconA(NIM_MODIFY, &data);
    // The old picture goes only once the shell holds the new one.
    icon_ = std::move(icon);
    iconId_ = resourceId;
}

void TrayIcon::Remove() {
    if (!added_) return;
    NOTIFYICONDATAA data = BaseData(window_);
    Shell_NotifyIconA(NIM_DELETE, &data);
    added_ = false;
}

}  // namespace glimmora::desktop::app
