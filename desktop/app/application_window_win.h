// The application window: the hidden owner of the main window, class "TApplication", title
// "Glimmora Desktop Image Server". Another copy of the program finds it by class and title
// to restore or close the running copy. Minimizing the application hides both windows (only
// the notification icon stays); restoring shows them again.
#pragma once

#include <windows.h>

#include "common/window_base_win.h"

namespace glimmora::desktop::app {

class ApplicationWindow : public WindowBase<ApplicationWindow> {
  public:
    ApplicationWindow();

    void SetMainWindow(HWND main) { main_ = main; }

    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }

  private:
    friend WindowBase<ApplicationWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND main_ = nullptr;
    bool minimized_ = false;
    bool restoring_ = false;
};

}  // namespace glimmora::desktop::app
