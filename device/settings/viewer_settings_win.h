// Reads and writes of the viewer's settings key made by the two settings dialogs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "device/settings/settings_key_win.h"
#include "device/settings/viewer_settings.h"

namespace glimmora::device {

// The timed slideshow's stored interval and orientation; the defaults when the key is
// missing (it is not created for this).
SlideshowSettings LoadSlideshowSettings(const SettingsKey& key);

// Slideshow_Interval, Slideshow_DisplayOri and ShowCalendar, in this order, into the key
// (created when missing). False when the key could not be opened.
bool SaveSlideshowSettings(const SettingsKey& key, const SlideshowSettings& settings,
                           bool showCalendar);

// The stored Options value; nothing when the key or the value is missing.
std::optional<std::uint32_t> LoadOptionsValue(const SettingsKey& key);

// Writes Options (creating the key) and tells whether the association is in force, i.e.
// Old_ShellOpenCommand holds more than 2 bytes. A key that cannot be opened writes nothing
// and counts as not in force.
bool SaveOptionsValue(const SettingsKey& key, std::uint32_t options);

}  // namespace glimmora::device
