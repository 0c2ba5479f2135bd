// The one window procedure. A window created with its object as the creation parameter
// (the last argument of CreateWindowEx) keeps the object from WM_NCCREATE on, and every
// message from then reaches the object's member handler,
//     LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// which the derived class declares (a `friend` of this base when private) and which answers
// each message itself or through DefaultHandling. The object owns its window: when the
// system destroys the window (WM_NCDESTROY) the object lets it go.
#pragma once

#include <windows.h>

#include "common/unique_user_win.h"

namespace glimmora {

template <class Derived>
class WindowBase {
  public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND handle() const { return window_.get(); }

  protected:
    WindowBase() = default;
    // By now the derived object is gone: a window still alive is detached first, so its
    // destroy messages take the defaults instead of reaching a handler of nothing.
    ~WindowBase() {
        if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    }

    // The window procedure to register with the window's class.
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) Attach(window, lParam);
        auto* self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefaultHandling(window, message, wParam, lParam);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_.release();  // the system has destroyed it
        }
        return result;
    }

    // Destroys the window while the derived object is whole, for a destructor whose window's
    // destroy messages must reach its handlers: handle() stays valid until WM_NCDESTROY.
    void DestroyWhileWhole() {
        if (window_) ::DestroyWindow(window_.get());
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefaultHandling(window_.get(), message, wParam, lParam);
    }

  private:
    static void Attach(HWND window, LPARAM lParam) {
        // lpCreateParams sits at the same place in the ANSI and the wide structure.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Derived*>(create->lpCreateParams);
        if (!self) return;
        static_cast<WindowBase*>(self)->window_.reset(window);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }

    // An ANSI class's window gets the ANSI defaults (its text stays in the code page).
    static LRESULT DefaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::IsWindowUnicode(window) ? ::DefWindowProcW(window, message, wParam, lParam)
                                         : ::DefWindowProcA(window, message, wParam, lParam);
    }

    UniqueWindow window_;
};

}  // namespace glimmora
