// The viewer's settings key: HKEY_CURRENT_USER "Software\Kestrova\Glimmora" on the handheld.
// Root and path are fields so that tests work on a scratch key, never on the real one.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_win.h"
#include "handoff/registry_names.h"

namespace glimmora::device {

struct SettingsKey {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring path = handoff::kDeviceAppKey;

    // Without creating it; an empty owner when it is missing.
    UniqueHkey Open() const;
    UniqueHkey OpenOrCreate() const;
};

}  // namespace glimmora::device
