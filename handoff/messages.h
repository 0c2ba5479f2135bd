// Window messages shared by the desktop and the handheld. Both are fixed application-defined
// numbers (not registered), so every copy of either program agrees on them without talking.
#pragma once

namespace glimmora::handoff {

// The desktop main window's notification message; the code travels in wParam, lParam is 0.
inline constexpr unsigned int kWmServerNotify = 6103;  // 0x17D7
inline constexpr unsigned int kNotifyAutoStart = 90;
inline constexpr unsigned int kNotifySessionEnded = 100;
inline constexpr unsigned int kNotifyFolderChanged = 110;
inline constexpr unsigned int kNotifyUploadBegin = 200;
inline constexpr unsigned int kNotifyUploadEnd = 210;
inline constexpr unsigned int kNotifyLaunchFailed = 300;

// The slideshow window's message; the code travels in wParam, lParam is 0.
inline constexpr unsigned int kWmViewerNotify = 6044;   // 0x179C
inline constexpr unsigned int kViewerShowPicture = 1;   // posted by a starting viewer
inline constexpr unsigned int kViewerGoFullscreen = 5;  // posted by the window to itself

}  // namespace glimmora::handoff
