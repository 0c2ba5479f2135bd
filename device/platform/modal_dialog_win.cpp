#include "device/platform/modal_dialog_win.h"

#include "device/platform/caption_ok_win.h"

namespace glimmora::device::platform {

INT_PTR ModalDialog::RunModal(HINSTANCE instance, int templateId, HWND parent) {
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), parent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ModalDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        self->window_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self->captionOk_) AddCaptionOkStandIn(window);
    } else {
        self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, WM_NCCREATE...) take the defaults.
    if (!self) return FALSE;
    INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    return result;
}

INT_PTR ModalDialog::HandleOkCancel(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK: Confirm(); return TRUE;
        case IDCANCEL: End(IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

}  // namespace glimmora::device::platform
