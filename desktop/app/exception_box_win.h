// An exception that escapes a window's handler is reported in the standard error box and the
// program goes on with its next message, as users of the program know it; it never crosses
// the system's message dispatch, which cannot carry it.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace glimmora::desktop::app {

// The box: error icon, OK button, the application's title, the exception's message.
void ShowExceptionBox(HWND owner, const std::string& message);

// Runs `handle` (a window's message handler); an exception that leaves it is shown in the box
// and the message gets `fallback` as its answer.
template <class Handler>
LRESULT HandleReportingExceptions(HWND owner, LRESULT fallback, Handler&& handle) {
    try {
        return handle();
    } catch (const std::exception& e) {
        ShowExceptionBox(owner, e.what());
    } catch (...) {
        ShowExceptionBox(owner, std::string());
    }
    return fallback;
}

}  // namespace glimmora::desktop::app
