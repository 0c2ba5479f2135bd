// The application window: the hidden owner of the main window, class "TApplication", title
// "Glimmora Desktop Image Server". Another copy of the program finds it by class and title
// to restore or close the running copy. Minimizing the application hides both windows (only
// the notification icon stays); restoring shows them again.
#pragma once

#include <windows.h>

namespace glimmora::desktop::app {

class ApplicationWindow {
public:
    ApplicationWindow();
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND handle() const { return window_; }
    void SetMainWindow(HWND main) { main_ = main; }

    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND main_ = nullptr;
    bool minimized_ = false;
    bool restoring_ = false;
};

}  // namespace glimmora::desktop::app
