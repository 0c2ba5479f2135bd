// The viewer's own settings under the application key, as the slideshow window reads them.
#pragma once

namespace glimmora::device::viewer {

inline constexpr wchar_t kOptionsValue[] = L"Options";                           // REG_DWORD
inline constexpr wchar_t kSlideshowIntervalValue[] = L"Slideshow_Interval";      // REG_DWORD, s
inline constexpr wchar_t kLastUsedFolderValue[] = L"Slideshow_LastUsedFolder";   // REG_SZ

}  // namespace glimmora::device::viewer
