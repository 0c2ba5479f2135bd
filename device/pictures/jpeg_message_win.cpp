#include <windows.h>

#include "device/pictures/jpeg_message.h"

namespace glimmora::device {

void ShowJpegImageError(const wchar_t* text) {
    ::MessageBoxW(::GetActiveWindow(), text, L"JPEG Image Error", MB_OK | MB_ICONERROR);
}

}  // namespace glimmora::device
