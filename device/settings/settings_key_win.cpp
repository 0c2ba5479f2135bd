#include "device/settings/settings_key_win.h"

#include "device/settings/registry_win.h"

namespace glimmora::device {

UniqueHkey SettingsKey::Open() const { return OpenRegistryKey(root, path); }

UniqueHkey SettingsKey::OpenOrCreate() const { return CreateRegistryKey(root, path); }

}  // namespace glimmora::device
