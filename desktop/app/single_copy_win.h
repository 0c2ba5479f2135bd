// One running copy: the named mutex, and how a second copy finds the first and hands it
// its command line.
#pragma once

#include <windows.h>

#include "common/unique_win.h"
#include "desktop/app/form_rules.h"
#include "desktop/settings/settings_store_win.h"

namespace glimmora::desktop::app {

// Created owned and held for the life of the process; `first` tells whether no other copy
// held it already.
struct SingleCopy {
    UniqueHandle mutex;
    bool first = true;
};
SingleCopy ClaimSingleCopy();

// The running copy's main window: ActiveWindowHandle when it names a live window, else a
// window of class "TCoreForm" with the main caption; nullptr when none.
HWND FindRunningMainWindow(SettingsStore& store);

// What a second copy does with its argument, then ends.
void ActAsSecondCopy(LaunchArgument argument, SettingsStore& store);

}  // namespace glimmora::desktop::app
