// The viewer's settings values and the decisions the two settings dialogs make on them:
// what they show when they open and what they store when confirmed.
#pragma once

#include <cstdint>
#include <optional>

namespace glimmora::device {

// Value names under the settings key (ShowCalendar is shared with the hand-off).
inline constexpr wchar_t kSlideshowInterval[] = L"Slideshow_Interval";      // DWORD, seconds
inline constexpr wchar_t kSlideshowDisplayOri[] = L"Slideshow_DisplayOri";  // DWORD, 0 to 4
inline constexpr wchar_t kOptionsValue[] = L"Options";                      // DWORD, bit field
inline constexpr wchar_t kSlideshowLastUsedFolder[] = L"Slideshow_LastUsedFolder";  // text

inline constexpr std::uint32_t kDefaultSlideInterval = 60;
inline constexpr std::uint32_t kMinSlideInterval = 1;
inline constexpr std::uint32_t kMaxSlideInterval = 86400;
inline constexpr std::uint32_t kOrientationCount = 5;
// What the viewer's settings dialog shows when no Options value can be read.
inline constexpr int kSettingsDefaultOrientationItem = 2;  // " Auto (Right)"

// The timed slideshow's settings as the options dialog opens with them.
struct SlideshowSettings {
    std::uint32_t interval = kDefaultSlideInterval;
    std::uint32_t orientation = 0;
};

// A stored interval is taken as it is (the spin control keeps it within its range); a stored
// orientation only when it names one of the five items.
SlideshowSettings SlideshowSettingsFromStored(std::optional<std::uint32_t> interval,
                                              std::optional<std::uint32_t> orientation);

// The viewer settings dialog's controls.
struct ViewerSettingsControls {
    int orientationItem = kSettingsDefaultOrientationItem;  // -1: no item selected
    bool fitToScreen = false;
    bool associateJpeg = false;
};

// An Options value whose orientation is 5 or more selects no item.
ViewerSettingsControls ViewerSettingsFromStored(std::optional<std::uint32_t> options);

// The Options value the confirmed dialog stores. With no item selected it stores Normal, as
// the viewer would read any other index outside the five anyway.
std::uint32_t OptionsFromControls(const ViewerSettingsControls& controls);

}  // namespace glimmora::device
