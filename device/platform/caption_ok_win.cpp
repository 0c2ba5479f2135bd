#include "device/platform/caption_ok_win.h"

namespace glimmora::device::platform {

HWND AddCaptionOkStandIn(HWND dialog) {
    // Dialog units, as the viewer's other dialog buttons are sized.
    RECT button{0, 0, 44, 14};
    RECT margin{0, 0, 3, 3};
    ::MapDialogRect(dialog, &button);
    ::MapDialogRect(dialog, &margin);
    RECT client{};
    ::GetClientRect(dialog, &client);
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left,
                   frame.bottom - frame.top + button.bottom + margin.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND ok = ::CreateWindowExW(
        0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        client.right - margin.right - button.right, client.bottom, button.right, button.bottom,
        dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    ::SendMessageW(ok, WM_SETFONT, ::SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return ok;
}

}  // namespace glimmora::device::platform
