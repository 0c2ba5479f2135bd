#include "handoff/picture_files.h"

#include <climits>
#include <cstdint>

namespace glimmora::handoff {

namespace {
std::wstring Decimal(std::int64_t value, std::size_t minDigits) {
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
    if (negative) digits.insert(digits.begin(), L'-');
    return digits;
}
}  // namespace

std::wstring DevicePictureName(const std::wstring& folder, int counter) {
    // The temp path comes with its trailing backslash; a chosen folder comes without one.
    const bool endsWithSeparator = !folder.empty() && folder.back() == L'\\';
    return folder + (endsWithSeparator ? L"" : L"\\") + L"Glimmora_" + Decimal(counter, 3) +
           L".jpg";
}

std::wstring ViewerProgramPath(const std::wstring& installedDir) {
    return installedDir + kViewerProgramName;
}

std::wstring ViewerLaunchArguments(const std::wstring& picturePath, int desktopIntervalSeconds,
                                   bool keepPictures) {
    // The viewer reads the number as a 32-bit long; an interval at the very top of the range
    // is held there rather than wrapping to a negative wait.
    std::int64_t seconds = std::int64_t{desktopIntervalSeconds} + kLaunchIntervalGraceSeconds;
    if (seconds > INT32_MAX) seconds = INT32_MAX;
    std::wstring line = picturePath + L" /" + Decimal(seconds, 1);
    if (!keepPictures) line += L" /del";
    return line;
}

int PictureCounterForPass(int counter, int maxKeptPictures) {
    return maxKeptPictures < counter ? 1 : counter;
}

int PictureCounterAfterPicture(int counter, bool keepPictures) {
    if (!keepPictures) return counter;
    return counter == INT_MAX ? 1 : counter + 1;
}

}  // namespace glimmora::handoff
