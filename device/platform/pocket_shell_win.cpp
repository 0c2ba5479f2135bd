#include "device/platform/pocket_shell_win.h"

namespace glimmora::device::platform {

void ShellElementCall(HWND, DWORD) {}

bool InitFullScreenDialog(HWND dialog) {
    if (!::IsWindow(dialog)) return false;
    LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER |
                                    WS_DLGFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    style |= WS_POPUP;
    ::SetWindowLongPtrW(dialog, GWL_STYLE, style);
    LONG_PTR exStyle = ::GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE |
                                      WS_EX_STATICEDGE);
    ::SetWindowLongPtrW(dialog, GWL_EXSTYLE, exStyle);
    return ::SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED) != 0;
}

bool HideTaskBarAndInputButton(HWND window) {
    if (!::IsWindow(window)) return false;
    return ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
}

}  // namespace glimmora::device::platform
