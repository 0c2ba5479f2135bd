// The slideshow window's small decisions: where a picture sits, its title, the intervals a
// hand-off leaves, the settings read at start-up, and the fade's give-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glimmora::device::viewer {

inline constexpr std::uint32_t kTimerSlide = 2010;
inline constexpr std::uint32_t kTimerClock = 2015;
inline constexpr std::uint32_t kClockPeriodMs = 1000;
inline constexpr std::uint32_t kDefaultSlideIntervalMs = 60000;
inline constexpr std::uint32_t kSlowFadeStepMs = 490;

// The picture pixel at the window's top-left corner: centred, truncating toward zero, so a
// narrower picture gets a negative offset (black margins) and a wider one can be dragged.
std::int32_t CentredPan(std::int32_t pictureSize, std::int32_t screenSize);

// The file's name after the last "\" and " - Glimmora".
std::wstring WindowTitle(const std::wstring& path);

// A fade step from tick t0 to tick t1 took too long (a wrapped tick count never counts).
bool FadeStepTooSlow(std::uint32_t t0, std::uint32_t t1);

// 0 and all ones are reserved for "no load yet" and "a load is running".
bool IsReservedTick(std::uint32_t tick);

// Seconds from the registry as the slideshow's period: the 32-bit product, as the handheld
// keeps it.
std::uint32_t SecondsToMs(std::uint32_t seconds);

// The period after a hand-off: the handed interval when it is non-zero, else the viewer's
// own Slideshow_Interval when the period is still 0, else what it was; 60 s when nothing
// gave one. `handedSeconds` and `ownSeconds` are empty when not read or not readable.
std::uint32_t SlideIntervalAfterHandOff(std::uint32_t currentMs,
                                        std::optional<std::uint32_t> handedSeconds,
                                        std::optional<std::uint32_t> ownSeconds);

// An orientation setting from Options or the options dialog: 1 to 4 as given, else Normal.
std::uint8_t OrientationSetting(std::uint32_t value);

struct StartupOptions {
    std::uint8_t manualOrientation = 0;
    bool fitToScreen = false;
};
StartupOptions StartupOptionsFromBits(std::uint32_t optionsBits);

std::wstring LoadErrorText(const std::wstring& path);
std::wstring NoPictureText(const std::wstring& folderPath);

}  // namespace glimmora::device::viewer
