// The notification-area icon of the main window: added at creation, its picture changed as
// the session's state changes, added again when the shell restarts, removed at the end.
#pragma once

#include <windows.h>

#include "common/unique_user_win.h"

namespace glimmora::desktop::app {

inline constexpr UINT kTrayIconId = 1009;
inline constexpr UINT kWmTrayCallback = 6109;  // 0x17DD
inline constexpr int kIconIdle = 130, kIconRunning = 120, kIconTransfer = 110;
inline constexpr char kTrayTip[] = "Glimmora Desktop Image Server";

class TrayIcon {
  public:
    explicit TrayIcon(HWND window) : window_(window) {}
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // NIM_ADD with message, icon and tip; also after the shell announced a restart.
    bool Add();
    // NIM_MODIFY with the icon only; resource 0 loads no icon.
    void SetIcon(int resourceId);
    void Remove();
    int IconId() const { return iconId_; }

  private:
    HWND window_;
    int iconId_ = kIconIdle;
    UniqueIcon icon_;
    bool added_ = false;
};

}  // namespace glimmora::desktop::app
