#include "device/settings/viewer_settings.h"

#include "device/settings/viewer_options.h"

namespace glimmora::device {

SlideshowSettings SlideshowSettingsFromStored(std::optional<std::uint32_t> interval,
                                              std::optional<std::uint32_t> orientation) {
    SlideshowSettings settings;
    if (interval) settings.interval = *interval;
    if (orientation && *orientation < kOrientationCount) settings.orientation = *orientation;
    return settings;
}

ViewerSettingsControls ViewerSettingsFromStored(std::optional<std::uint32_t> options) {
    ViewerSettingsControls controls;
    if (!options) return controls;
    const ViewerOptions decoded = DecodeViewerOptions(*options);
    controls.orientationItem = decoded.orientation < kOrientationCount ? decoded.orientation : -1;
    controls.fitToScreen = decoded.fitToScreen;
    controls.associateJpeg = decoded.associateJpeg;
    return controls;
}

std::uint32_t OptionsFromControls(const ViewerSettingsControls& controls) {
    ViewerOptions options;
    options.associateJpeg = controls.associateJpeg;
    options.fitToScreen = controls.fitToScreen;
    const bool listed = controls.orientationItem >= 0 &&
                        static_cast<std::uint32_t>(controls.orientationItem) < kOrientationCount;
    options.orientation = listed ? static_cast<std::uint8_t>(controls.orientationItem) : 0;
    return EncodeViewerOptions(options);
}

}  // namespace glimmora::device
