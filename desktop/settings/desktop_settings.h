// The desktop program's settings: the record the main window works on, their defaults and
// ranges, and the rules for loading and saving them value by value. The registry itself is
// behind two small interfaces, so the rules can be exercised without one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glimmora::desktop {

// Under HKEY_CURRENT_USER. The leading backslash marks it as relative to the root key.
inline constexpr const char* kSettingsKeyPath = "\\Software\\Kestrova\\Glimmora";

namespace setting {
inline constexpr const char* kImageFolderPath = "ImageFolderPath";
inline constexpr const char* kFileSortBy = "FileSortBy";
inline constexpr const char* kFileSortAscending = "FileSortAscending";
inline constexpr const char* kPictureChangeInterval = "PictureChangeInterval";
inline constexpr const char* kAutoStart = "AutoStart";
inline constexpr const char* kAutoStartDelay = "AutoStartDelay";
inline constexpr const char* kShowCalendar = "ShowCalendar";
inline constexpr const char* kDoNotRemoveTempFiles = "DoNotRemoveTempFiles";
inline constexpr const char* kPpcTempFilePath = "PPC_TempFilePath";
inline constexpr const char* kPpcTempMaxFileCount = "PPC_TempMaxFileCount";
inline constexpr const char* kActiveWindowHandle = "ActiveWindowHandle";
inline constexpr const char* kLastImageFilePath = "LastImageFilePath";
}  // namespace setting

// Ranges of the window's numeric fields; stored values outside them are pulled to the
// nearest bound.
inline constexpr std::int32_t kIntervalMin = 5, kIntervalMax = 86400;
inline constexpr std::int32_t kStartDelayMin = 0, kStartDelayMax = 86400;
inline constexpr std::int32_t kMaxKeptMin = 1, kMaxKeptMax = 100;

struct DesktopSettings {
    std::string imageFolderPath;  // empty: the default folder is chosen after loading
    std::int32_t fileSortBy = 0;  // 0 random, 1 name, 2 size, 3 date
    bool fileSortAscending = true;
    std::int32_t pictureChangeInterval = 60;
    bool autoStart = true;
    std::int32_t autoStartDelay = 180;
    bool showCalendar = false;
    bool doNotRemoveTempFiles = true;
    std::string ppcTempFilePath;  // as shown, blanks included; trimmed when saved
    std::int32_t ppcTempMaxFileCount = 5;
};

// What the window starts with when the key cannot be opened at all: the defaults, except
// that the start-up delay is 0.
DesktopSettings InitialWindowSettings();

// Pulls each numeric value into its range (FileSortBy outside 0..3 becomes random).
DesktopSettings NormaliseSettings(DesktopSettings settings);

// Text without leading and trailing blanks (spaces and control characters).
std::string TrimBlanks(const std::string& text);

// One registry value as the store needs it: nothing when missing or of another type.
class SettingsReader {
  public:
    virtual ~SettingsReader() = default;
    virtual std::optional<std::uint32_t> ReadDword(const char* name) = 0;
    virtual std::optional<std::string> ReadText(const char* name) = 0;
};

class SettingsWriter {
  public:
    virtual ~SettingsWriter() = default;
    virtual bool WriteDword(const char* name, std::uint32_t value) = 0;
    virtual bool WriteText(const char* name, const std::string& value) = 0;
};

// Reads every value on its own: one missing or mistyped value takes its default and leaves
// the others alone. The result is normalised.
DesktopSettings ReadSettings(SettingsReader& reader);

// Writes the values in their fixed order; stops at the first failing write and returns false.
// The handheld folder is written trimmed and numbers are written within their ranges.
bool WriteSettings(const DesktopSettings& settings, SettingsWriter& writer);

// Where a known shell folder stands: `known` when the shell has the folder's location at
// all, `path` when its file-system path could be had.
struct ShellFolder {
    bool known = false;
    std::optional<std::string> path;
};

// The default picture folder: My Pictures when its path can be had; My Documents only when
// My Pictures is not known at all; otherwise the program's own folder. Always ends with '\'.
std::string ChooseDefaultPictureFolder(const std::string& programFolder,
                                       const ShellFolder& myPictures,
                                       const ShellFolder& myDocuments);

// `path` with a trailing backslash added when missing (an empty path stays empty).
std::string WithTrailingBackslash(std::string path);

}  // namespace glimmora::desktop
