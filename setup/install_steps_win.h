// What the setup hooks do, with the registry roots as parameters so that tests run them on
// scratch keys. The exported hooks call them with the handheld's own roots.
#pragma once

#include <windows.h>

#include <optional>

namespace glimmora::setup {

inline constexpr wchar_t kMakerKey[] = L"Software\\Kestrova";
inline constexpr wchar_t kApplicationSubkey[] = L"Glimmora";

struct SetupPlaces {
    HKEY currentUser = HKEY_CURRENT_USER;
    HKEY localMachine = HKEY_LOCAL_MACHINE;
    HKEY classesRoot = HKEY_CLASSES_ROOT;
};

// InstalledDirPath = `installDir` under the machine's application key (created when
// missing). Silent when the key cannot be opened.
void RecordInstallFolder(const SetupPlaces& places, const wchar_t* installDir);

// Gives a saved .jpg association back, then deletes the application key in both hives;
// the maker's key stays.
void RemoveApplication(const SetupPlaces& places, std::optional<unsigned long> majorVersion);

}  // namespace glimmora::setup
