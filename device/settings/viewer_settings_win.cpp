#include "device/settings/viewer_settings_win.h"

#include "device/settings/registry_win.h"
#include "device/settings/saved_association.h"

namespace glimmora::device {

SlideshowSettings LoadSlideshowSettings(const SettingsKey& key) {
    UniqueHkey opened = key.Open();
    if (!opened) return SlideshowSettings{};
    return SlideshowSettingsFromStored(ReadDwordValue(opened.get(), kSlideshowInterval),
                                       ReadDwordValue(opened.get(), kSlideshowDisplayOri));
}

bool SaveSlideshowSettings(const SettingsKey& key, const SlideshowSettings& settings,
                           bool showCalendar) {
    UniqueHkey opened = key.OpenOrCreate();
    if (!opened) return false;
    WriteDwordValue(opened.get(), kSlideshowInterval, settings.interval);
    WriteDwordValue(opened.get(), kSlideshowDisplayOri, settings.orientation);
    WriteDwordValue(opened.get(), handoff::kShowCalendar, showCalendar ? 1 : 0);
    return true;
}

std::optional<std::uint32_t> LoadOptionsValue(const SettingsKey& key) {
    UniqueHkey opened = key.Open();
    if (!opened) return std::nullopt;
    return ReadDwordValue(opened.get(), kOptionsValue);
}

bool SaveOptionsValue(const SettingsKey& key, std::uint32_t options) {
    UniqueHkey opened = key.OpenOrCreate();
    if (!opened) return false;
    WriteDwordValue(opened.get(), kOptionsValue, options);
    std::optional<DWORD> saved = ValueDataBytes(opened.get(), association::kOldShellOpenCommand);
    return saved && association::SavedValueInForce(*saved);
}

}  // namespace glimmora::device
