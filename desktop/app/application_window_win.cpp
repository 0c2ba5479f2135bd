#include "desktop/app/application_window_win.h"

#include "desktop/app/exception_box_win.h"
#include "desktop/app/form_layout.h"

namespace glimmora::desktop::app {

namespace {
constexpr UINT kWmRestoreMain = WM_APP + 1;
}

ApplicationWindow::ApplicationWindow() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = &ApplicationWindow::Proc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hIcon = LoadIconA(cls.hInstance, MAKEINTRESOURCEA(1));
    cls.lpszClassName = kApplicationClass;
    RegisterClassA(&cls);
    // A window of no size: it only carries the taskbar button and the title other copies look for.
    // The window is this object's from WM_NCCREATE on (WindowBase); its destructor destroys
    // it without the handler, as nothing of this window's state matters by then.
    CreateWindowExA(0, kApplicationClass, kApplicationTitle,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                    nullptr, cls.hInstance, this);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleReportingExceptions(handle(), 0, [&] { return Handle(message, wParam, lParam); });
}

LRESULT ApplicationWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // Closing the application closes the main window, which ends the program.
            if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
            return 0;
        case WM_SHOWWINDOW:
            // Another copy restored this window (SW_RESTORE): bring the main window back.
            if (wParam && !restoring_ && minimized_) PostMessageA(handle(), kWmRestoreMain, 0, 0);
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_RESTORE) {
                Restore();
                return 0;
            }
            // This window carries the taskbar button: a click on the button of the active
            // program, or the shell's minimize-all, minimizes it. Like the main window's
            // minimize box, that sends the program to the notification area.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                Minimize();
                return 0;
            }
            break;
        case WM_SIZE:
            // Minimized without a command (ShowWindow from outside): hidden all the same.
            if (wParam == SIZE_MINIMIZED && !minimized_) Minimize();
            // Restored from that state by another copy (SW_RESTORE): a change of state that
            // comes without WM_SHOWWINDOW.
            if (wParam != SIZE_MINIMIZED && minimized_ && !restoring_)
                PostMessageA(handle(), kWmRestoreMain, 0, 0);
            break;
        case kWmRestoreMain: Restore(); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && main_ && IsWindowVisible(main_))
                SetActiveWindow(main_);
            return 0;
    }
    return DefWindowProcA(handle(), message, wParam, lParam);
}

void ApplicationWindow::Minimize() {
    minimized_ = true;
    if (main_) ShowWindow(main_, SW_HIDE);
    ShowWindow(handle(), SW_HIDE);
}

void ApplicationWindow::Restore() {
    restoring_ = true;
    minimized_ = false;
    // A window minimized from outside is still iconic under its hiding: bring its size back.
    if (IsIconic(handle())) ShowWindow(handle(), SW_SHOWNOACTIVATE);
    ShowWindow(handle(), SW_SHOWNA);
    if (main_) {
        ShowWindow(main_, SW_SHOW);
        SetForegroundWindow(main_);
    }
    restoring_ = false;
}

}  // namespace glimmora::desktop::app
