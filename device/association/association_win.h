// The .jpg association in the registry: the check, the take-over and the give-back. The
// settings dialog and the setup hook's removal share these steps. Nothing is reported to
// the user; every registry failure ends or skips its step silently.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "device/settings/settings_key_win.h"

namespace glimmora::device::association {

// Where the association lives. The defaults are the handheld's own places; tests point
// them at scratch keys.
struct AssociationPlaces {
    HKEY classesRoot = HKEY_CLASSES_ROOT;
    SettingsKey settings;  // where the previous association is saved
};

// The running executable's full path, or nothing when the platform cannot give all of it
// within 260 characters.
std::optional<std::wstring> CurrentModulePath();

// The platform's major version, when it can be read.
std::optional<unsigned long> PlatformMajorVersion();

// The .jpg file class, when .jpg has one that fits the key path buffer.
std::optional<std::wstring> ReadJpegClass(HKEY classesRoot);

// Whether the .jpg open command still names `modulePath`. A class or command that cannot be
// read counts as kept.
bool AssociationKept(const AssociationPlaces& places, const std::wstring& modulePath);

// Deletes the saved association (the settings key is not created for it).
void ForgetSavedAssociation(const AssociationPlaces& places);

// In force: Old_ShellOpenCommand exists with more than 2 bytes of data.
bool AssociationInForce(const AssociationPlaces& places);

// Makes `modulePath` the .jpg program and saves the previous command and icon.
void TakeOverAssociation(const AssociationPlaces& places, const std::wstring& modulePath);

// Reads and deletes the saved association, then restores it.
void GiveBackAssociation(const AssociationPlaces& places,
                         std::optional<unsigned long> majorVersion);

// The restoring half of the give-back, shared with the removal hook: writes `savedCommand`
// (or the platform defaults when the program it names by full path is gone) and the icon.
void RestoreAssociation(HKEY classesRoot, const std::optional<std::wstring>& savedCommand,
                        const std::optional<std::wstring>& savedIcon,
                        std::optional<unsigned long> majorVersion);

}  // namespace glimmora::device::association
