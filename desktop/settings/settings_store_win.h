// The desktop settings in the registry: one key below a root key, values read one by one.
// The key is a parameter so that tests work on a scratch key, never on the user's own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "desktop/settings/desktop_settings.h"

namespace glimmora::desktop {

class SettingsStore {
  public:
    explicit SettingsStore(HKEY root = HKEY_CURRENT_USER, std::string path = kSettingsKeyPath);

    // Opens the key (creating it) and reads every value on its own, then records `window`
    // as ActiveWindowHandle. When the key cannot be opened at all, the window's initial
    // values are returned and nothing is written. Never reports an error.
    DesktopSettings Load(HWND window);

    // Writes the values in their fixed order, stopping at the first failing write. False
    // when the key could not be opened or a write failed; nothing is reported to the user.
    bool Save(const DesktopSettings& settings);

    // LastImageFilePath = "" (after the user picks another picture folder).
    void ClearLastImageFilePath();
    // Where the session stopped; empty when the key or the value is missing.
    std::string ReadLastImageFilePath();
    bool WriteLastImageFilePath(const std::string& path);

    // Deleted when the message loop has ended; the key is not created for it.
    void RemoveActiveWindowHandle();
    // For a second copy looking for the running one.
    std::optional<HWND> ReadActiveWindowHandle();

  private:
    HKEY root_;
    std::string path_;  // without the leading backslash the API does not accept
};

// The default picture folder (see ChooseDefaultPictureFolder), asked of the shell.
std::string DefaultPictureFolder();

bool IsExistingDirectory(const std::string& path);

// After loading: a picture folder that is not an existing directory (also an empty one) is
// replaced by the default folder. It reaches the registry at the next save.
void ApplyDefaultPictureFolder(DesktopSettings& settings);

}  // namespace glimmora::desktop
