#include "desktop/app/exception_box_win.h"

#include "desktop/app/form_layout.h"

namespace glimmora::desktop::app {

void ShowExceptionBox(HWND owner, const std::string& message) {
    std::string text = message.empty() ? std::string("An unexpected error occurred") : message;
    if (text.back() != '.') text += '.';
    // The owner may be a window being destroyed: the box then stands alone.
    MessageBoxA(IsWindow(owner) ? owner : nullptr, text.c_str(), kApplicationTitle,
                MB_OK | MB_ICONERROR);
}

}  // namespace glimmora::desktop::app
