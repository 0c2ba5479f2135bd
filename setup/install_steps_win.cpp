#include "setup/install_steps_win.h"

#include <string>

#include "device/association/association_rules.h"
#include "device/association/association_win.h"
#include "device/settings/registry_win.h"
#include "handoff/registry_names.h"

namespace glimmora::setup {

namespace {

namespace association = device::association;

// Saved values count only with more than a bare terminator.
constexpr DWORD kSavedValueMinBytes = 3;

void DeleteApplicationKey(HKEY hive) {
    UniqueHkey maker = device::OpenRegistryKey(hive, kMakerKey);
    if (maker) device::DeleteRegistryTree(maker.get(), kApplicationSubkey);
}

}  // namespace

void RecordInstallFolder(const SetupPlaces& places, const wchar_t* installDir) {
    if (!installDir) return;
    UniqueHkey key = device::CreateRegistryKey(places.localMachine, handoff::kDeviceAppKey);
    if (key) device::WriteTextValue(key.get(), handoff::kInstalledDirPath, installDir);
}

void RemoveApplication(const SetupPlaces& places, std::optional<unsigned long> majorVersion) {
    std::optional<std::wstring> savedCommand;
    std::optional<std::wstring> savedIcon;
    if (UniqueHkey settings = device::OpenRegistryKey(places.currentUser, handoff::kDeviceAppKey)) {
        if (auto command = device::ReadTextValue(settings.get(), association::kOldShellOpenCommand,
                                                 kSavedValueMinBytes)) {
            savedCommand = command->text;
            // An icon without its command is not restored.
            if (auto icon = device::ReadTextValue(settings.get(), association::kOldDefaultIcon,
                                                  kSavedValueMinBytes)) {
                savedIcon = icon->text;
            }
        }
        device::DeleteRegistryValue(settings.get(), association::kOldDefaultIcon);
        device::DeleteRegistryValue(settings.get(), association::kOldShellOpenCommand);
    }
    if (savedCommand) {
        association::RestoreAssociation(places.classesRoot, savedCommand, savedIcon, majorVersion);
    }
    DeleteApplicationKey(places.currentUser);
    DeleteApplicationKey(places.localMachine);
}

}  // namespace glimmora::setup
