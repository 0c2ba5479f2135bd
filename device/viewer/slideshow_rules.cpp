#include "device/viewer/slideshow_rules.h"

#include "device/pictures/folder_order.h"
#include "device/settings/viewer_options.h"

namespace glimmora::device::viewer {

std::int32_t CentredPan(std::int32_t pictureSize, std::int32_t screenSize) {
    return (pictureSize - screenSize) / 2;
}

std::wstring WindowTitle(const std::wstring& path) { return NameFromPath(path) + L" - Glimmora"; }

bool FadeStepTooSlow(std::uint32_t t0, std::uint32_t t1) {
    return t1 > t0 && t1 - t0 > kSlowFadeStepMs;
}

bool IsReservedTick(std::uint32_t tick) { return tick == 0 || tick == 0xFFFFFFFFu; }

std::uint32_t SecondsToMs(std::uint32_t seconds) { return seconds * 1000u; }

std::uint32_t SlideIntervalAfterHandOff(std::uint32_t currentMs,
                                        std::optional<std::uint32_t> handedSeconds,
                                        std::optional<std::uint32_t> ownSeconds) {
    std::uint32_t ms = currentMs;
    if (handedSeconds && *handedSeconds != 0) ms = SecondsToMs(*handedSeconds);
    if (ms == 0 && ownSeconds && *ownSeconds != 0) ms = SecondsToMs(*ownSeconds);
    return ms == 0 ? kDefaultSlideIntervalMs : ms;
}

std::uint8_t OrientationSetting(std::uint32_t value) {
    return value >= 1 && value <= 4 ? static_cast<std::uint8_t>(value) : 0;
}

StartupOptions StartupOptionsFromBits(std::uint32_t optionsBits) {
    const ViewerOptions o = DecodeViewerOptions(optionsBits);
    return {OrientationSetting(o.orientation), o.fitToScreen};
}

std::wstring LoadErrorText(const std::wstring& path) {
    return L"Loading '" + path + L"' failed! Invalid or corrupted JPEG/JPG file.";
}

std::wstring NoPictureText(const std::wstring& folderPath) {
    return L"No picture file found in " + folderPath + L".";
}

}  // namespace glimmora::device::viewer
