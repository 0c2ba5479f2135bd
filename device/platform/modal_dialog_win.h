// The handheld framework's modal dialog object, as plain Win32: a dialog from an .rc template
// run modally, whose messages reach a member handler. Every dialog of the viewer (the
// slideshow window itself, options, settings, folder picker) derives from it, so a real
// handheld build would replace only this layer.
#pragma once

#include <windows.h>

namespace glimmora::device::platform {

class ModalDialog {
  public:
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;
    virtual ~ModalDialog() = default;

    // Runs the dialog of template `templateId` from `instance` until EndDialog; gives the
    // value passed to End, or -1 when the dialog could not be created.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent);

    HWND Handle() const { return window_; }

  protected:
    ModalDialog() = default;

    void End(INT_PTR result) { ::EndDialog(window_, result); }

    // For a dialog without buttons of its own, confirmed on the handheld by its caption's OK
    // button: it gets a stand-in for that button (caption_ok_win.h). Set before RunModal.
    void UseCaptionOk() { captionOk_ = true; }

    // A dialog procedure's answer: TRUE when handled (WM_INITDIALOG: TRUE sets the default
    // focus). The base calls it for every message from WM_INITDIALOG on; the window handle
    // is already known then.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // For a dialog confirmed with IDOK and dismissed with IDCANCEL, its WM_COMMAND answer:
    // IDOK calls Confirm, IDCANCEL ends the dialog with IDCANCEL and nothing written; TRUE
    // when the command was one of the two.
    INT_PTR HandleOkCancel(WPARAM wParam);
    // Reads and stores what the dialog shows, then ends it (with IDOK).
    virtual void Confirm() { End(IDOK); }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool captionOk_ = false;
};

}  // namespace glimmora::device::platform
