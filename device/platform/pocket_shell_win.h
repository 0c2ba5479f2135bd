// Stand-ins for the handheld shell's calls the viewer makes. On the handheld they make a
// dialog full screen without a menu bar and hide the task bar and the input-panel button;
// here the same effect is a borderless, captionless popup covering the whole screen.
#pragma once

#include <windows.h>

namespace glimmora::device::platform {

// The shell call made with the argument 2 on a window's shell element. Its effect lies with
// the handheld's shell; off the handheld it has nothing to act on.
void ShellElementCall(HWND window, DWORD argument);

// Dialog initialisation "full screen without menu bar": drops caption and borders.
bool InitFullScreenDialog(HWND dialog);

// Hides the task bar and the input-panel button for `window`: here, keeps the window
// borderless and topmost over anything that could stand for a task bar.
bool HideTaskBarAndInputButton(HWND window);

}  // namespace glimmora::device::platform
