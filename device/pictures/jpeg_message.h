// Where the decoder's warnings go. The viewer shows the first warning of a decode in a
// "JPEG Image Error" box; tests and tools put their own hook in its place.
#pragma once

namespace glimmora::device {

using JpegMessageHook = void (*)(const wchar_t* text);

// The platform's own presentation: a modal box owned by the active window (Win32), or a
// line on standard error where there is no window system.
void ShowJpegImageError(const wchar_t* text);

// Installs `hook` (nullptr restores ShowJpegImageError) and returns the previous one.
JpegMessageHook SetJpegMessageHook(JpegMessageHook hook);
JpegMessageHook CurrentJpegMessageHook();

}  // namespace glimmora::device
