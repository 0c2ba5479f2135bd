#include "desktop/app/form_rules.h"

#include <cctype>
#include <limits>

namespace glimmora::desktop::app {

namespace {
std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

LaunchArgument ClassifyLaunchArgument(const std::string& firstArgument) {
    const std::string lower = Lower(firstArgument);
    if (lower == "/start") return LaunchArgument::kStart;
    if (lower == "/close") return LaunchArgument::kClose;
    return LaunchArgument::kPlain;
}

Enabling ComputeEnabling(const EnablingInputs& in) {
    Enabling e;
    if (in.running) {
        e.stop = true;
        return e;
    }
    e.always = true;
    e.direction = !in.random;
    e.startupDelay = in.autoStart;
    e.keptPictures = in.keepPictures;
    e.folderEdit = in.keepPictures && !in.useDefaultFolder;
    return e;
}

std::string ShortenFolderLabel(const std::string& path, int width,
                               const std::function<int(const std::string&)>& textWidth) {
    if (width <= 0 || textWidth(path) <= width) return path;
    // The start is cut, so the folder's own name stays visible.
    for (std::size_t cut = 1; cut < path.size(); ++cut) {
        const std::string formed = "... " + path.substr(cut);
        if (textWidth(formed) <= width) return formed;
    }
    return "... ";
}

std::int32_t ClampSpinValue(long long value, std::int32_t min, std::int32_t max) {
    if (value < min) return min;
    if (value > max) return max;
    return static_cast<std::int32_t>(value);
}

std::int32_t SpinValueFromText(const std::string& text, std::int32_t min, std::int32_t max) {
    std::size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == end) return min;
    long long value = 0;
    for (; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return min;
        // Past the range either way; the nearest bound is all that matters.
        if (value < std::numeric_limits<std::int32_t>::max()) value = value * 10 + (text[i] - '0');
    }
    return ClampSpinValue(negative ? -value : value, min, max);
}

RadioClick RadioClickForTag(int tag) {
    RadioClick click;
    switch (tag) {
        case 1:
        case 2:
        case 3:
            click.setsSortKey = true;
            click.sortKey = static_cast<std::uint8_t>(tag);
            break;
        case 4:
        case 5:
            click.setsAscending = true;
            click.ascending = tag == 4;
            break;
        default: click.setsSortKey = true; click.sortKey = 0;
    }
    return click;
}

int RadioTagForSortKey(std::int32_t storedSortKey) {
    return storedSortKey >= 1 && storedSortKey <= 3 ? storedSortKey : 0;
}

}  // namespace glimmora::desktop::app
