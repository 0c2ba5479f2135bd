// Glimmora.exe: the handheld's full-screen slideshow viewer.
#include <windows.h>

#include "device/viewer/viewer_app_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    glimmora::device::viewer::ViewerApp app;
    if (app.InitApplication(commandLine ? commandLine : L"")) app.InitInstance(instance);
    return 0;
}
