// Registry keys and value names through which the desktop, the viewer and the setup hooks
// meet. Texts on the handheld are UTF-16; the desktop's own key is in its ANSI code page.
#pragma once

namespace glimmora::handoff {

// On the handheld: the same path under HKEY_CURRENT_USER (the application key: hand-off
// values and viewer settings) and under HKEY_LOCAL_MACHINE (the installation folder).
inline constexpr wchar_t kDeviceAppKey[] = L"Software\\Kestrova\\Glimmora";

// On the desktop, under HKEY_CURRENT_USER.
inline constexpr char kDesktopAppKey[] = "\\Software\\Kestrova\\Glimmora";

// HKLM, REG_SZ: written by the setup hook, read by the desktop at its first connection.
inline constexpr wchar_t kInstalledDirPath[] = L"InstalledDirPath";

// Application key values of the hand-off.
inline constexpr wchar_t kRapiThisHwnd[] = L"RAPI_ThisHWND";                // REG_BINARY, 4 bytes
inline constexpr wchar_t kRapiDisplayFileName[] = L"RAPI_DisplayFileName";  // REG_SZ
inline constexpr wchar_t kRapiDisplayInterval[] = L"RAPI_DisplayInterval";  // REG_DWORD, seconds
inline constexpr wchar_t kRapiDeleteFile[] = L"RAPI_DeleteFile";            // REG_DWORD, 0 or 1
inline constexpr wchar_t kRapiStopSlideshow[] = L"RAPI_StopSlideshow";      // REG_DWORD, 0 or 1
inline constexpr wchar_t kShowCalendar[] = L"ShowCalendar";                 // REG_DWORD, 0 or 1

// Buffers the readers of InstalledDirPath and RAPI_DisplayFileName use: a longer value does
// not fit, its query fails and the reader acts as if the value were missing.
inline constexpr unsigned int kPathValueBufferBytes = 520;

}  // namespace glimmora::handoff
