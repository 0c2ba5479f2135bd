// Where on the handheld the session puts its pictures, and the screen size it fits them to.
// Decided once per session, at its first successful connection.
#pragma once

#include <optional>
#include <string>

namespace glimmora::desktop::session {

// The handheld's answers the choice needs (the remote API behind it in the session).
class DeviceFolderSource {
  public:
    virtual ~DeviceFolderSource() = default;
    // The personal documents folder, or nothing when the handheld cannot say.
    virtual std::optional<std::wstring> PersonalFolder() = 0;
    // The temporary folder, or nothing.
    virtual std::optional<std::wstring> TempFolder() = 0;
    // Creates a folder; an existing one is fine, and a failure shows only later, when the
    // picture cannot be written.
    virtual void CreateFolder(const std::wstring& path) = 0;
};

// The configured folder (PPC_TempFilePath already in UTF-16; empty = the default folder),
// else the personal folder ("\Glimmora" below it when pictures are kept), else the temporary
// folder, else empty (no picture can be sent then). Configured and kept-pictures folders are
// created. A configured folder loses one trailing backslash.
std::wstring ChooseDeviceFolder(const std::wstring& configured, bool keepPictures,
                                DeviceFolderSource& handheld);

// A screen side the handheld reported, or `fallback` when it could not say (0 or less).
int ScreenSideOrDefault(int reported, int fallback);
inline constexpr int kDefaultScreenWidth = 240;
inline constexpr int kDefaultScreenHeight = 320;

}  // namespace glimmora::desktop::session
