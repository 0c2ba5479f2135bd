// The main window's decisions as plain functions: what the command line asks for, which
// controls are enabled, how the folder label is shortened, how a spin field reads its text.
// The window code only gathers the inputs and applies the answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace glimmora::desktop::app {

// The first command-line argument, compared without regard to case; anything else is a
// plain launch.
enum class LaunchArgument { kPlain, kStart, kClose };
LaunchArgument ClassifyLaunchArgument(const std::string& firstArgument);

// What the window's state gives the enabling rule.
struct EnablingInputs {
    bool running = false;
    bool random = true;
    bool autoStart = true;
    bool keepPictures = true;
    bool useDefaultFolder = false;
};

// Enabled flags for the controls the rule governs. The panel labels, Browse and Close are
// always enabled and are not part of it.
struct Enabling {
    bool always = false;        // the group and its first row, interval, check boxes, Change, Start
    bool direction = false;     // Ascending, Descending
    bool startupDelay = false;  // its label and spin field
    bool keptPictures = false;  // folder label, Use Default Folder, Max. Count label and field
    bool folderEdit = false;    // the handheld folder field
    bool stop = false;
};
Enabling ComputeEnabling(const EnablingInputs& in);

// Text for the folder label: the whole path when it fits in `width` (or when width <= 0),
// otherwise "... " followed by the longest end of the path that fits, or "... " alone.
std::string ShortenFolderLabel(const std::string& path, int width,
                               const std::function<int(const std::string&)>& textWidth);

// A numeric spin field's value: an empty or unreadable entry reads as the minimum, a value
// outside the range is brought to the nearest bound.
std::int32_t SpinValueFromText(const std::string& text, std::int32_t min, std::int32_t max);
std::int32_t ClampSpinValue(long long value, std::int32_t min, std::int32_t max);
// Page Up and Page Down move a spin field by this, within its range.
inline constexpr int kSpinPageStep = 10;

// The display order radios share one handler told apart by their Tag.
struct RadioClick {
    bool setsSortKey = false;  // tags 0..3 (and unknown tags, meaning Random)
    std::uint8_t sortKey = 0;
    bool setsAscending = false;  // tags 4 and 5
    bool ascending = true;
};
RadioClick RadioClickForTag(int tag);
// The radio tag that shows a stored sort key: 1..3 their own, anything else Random (0).
int RadioTagForSortKey(std::int32_t storedSortKey);

}  // namespace glimmora::desktop::app
