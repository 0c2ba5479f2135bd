// The handheld's caption OK button, which confirms a dialog that has no buttons of its own.
// Our windows have no such button in their caption, so the dialog gets a push button "OK"
// (IDOK, default, a tab stop) in a strip added below its own controls: the mouse and the
// keyboard both reach it, and the dialog's controls stay where their template puts them.
#pragma once

#include <windows.h>

namespace glimmora::device::platform {

// Adds the stand-in to `dialog` (from its WM_INITDIALOG on) and gives it.
HWND AddCaptionOkStandIn(HWND dialog);

}  // namespace glimmora::device::platform
