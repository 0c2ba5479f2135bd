#include "desktop/settings/desktop_settings.h"

#include <algorithm>

namespace glimmora::desktop {

namespace {

std::int32_t Clamp(std::int32_t value, std::int32_t lo, std::int32_t hi) {
    return std::min(std::max(value, lo), hi);
}

// REG_DWORD values are read as the window's signed fields would hold them: 0xFFFFFFFF is -1.
std::int32_t ReadInt(SettingsReader& reader, const char* name, std::int32_t fallback) {
    const std::optional<std::uint32_t> value = reader.ReadDword(name);
    return value ? static_cast<std::int32_t>(*value) : fallback;
}

bool ReadFlag(SettingsReader& reader, const char* name, bool fallback) {
    const std::optional<std::uint32_t> value = reader.ReadDword(name);
    return value ? *value != 0 : fallback;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

DesktopSettings InitialWindowSettings() {
    DesktopSettings settings;
    settings.autoStartDelay = 0;
    return settings;
}

DesktopSettings NormaliseSettings(DesktopSettings s) {
    if (s.fileSortBy < 0 || s.fileSortBy > 3) s.fileSortBy = 0;
    s.pictureChangeInterval = Clamp(s.pictureChangeInterval, kIntervalMin, kIntervalMax);
    s.autoStartDelay = Clamp(s.autoStartDelay, kStartDelayMin, kStartDelayMax);
    s.ppcTempMaxFileCount = Clamp(s.ppcTempMaxFileCount, kMaxKeptMin, kMaxKeptMax);
    return s;
}

std::string TrimBlanks(const std::string& text) {
    const auto begin = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto end = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    return begin < end ? std::string(begin, end) : std::string();
}

DesktopSettings ReadSettings(SettingsReader& reader) {
    const DesktopSettings defaults;
    DesktopSettings s;
    s.imageFolderPath = reader.ReadText(setting::kImageFolderPath).value_or(std::string());
    s.fileSortBy = ReadInt(reader, setting::kFileSortBy, defaults.fileSortBy);
    s.fileSortAscending = ReadFlag(reader, setting::kFileSortAscending, defaults.fileSortAscending);
    s.pictureChangeInterval =
        ReadInt(reader, setting::kPictureChangeInterval, defaults.pictureChangeInterval);
    s.autoStart = ReadFlag(reader, setting::kAutoStart, defaults.autoStart);
    s.autoStartDelay = ReadInt(reader, setting::kAutoStartDelay, defaults.autoStartDelay);
    s.showCalendar = ReadFlag(reader, setting::kShowCalendar, defaults.showCalendar);
    s.doNotRemoveTempFiles =
        ReadFlag(reader, setting::kDoNotRemoveTempFiles, defaults.doNotRemoveTempFiles);
    s.ppcTempFilePath = reader.ReadText(setting::kPpcTempFilePath).value_or(std::string());
    s.ppcTempMaxFileCount =
        ReadInt(reader, setting::kPpcTempMaxFileCount, defaults.ppcTempMaxFileCount);
    return NormaliseSettings(s);
}

bool WriteSettings(const DesktopSettings& settings, SettingsWriter& writer) {
    const DesktopSettings s = NormaliseSettings(settings);
    auto dword = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    return writer.WriteText(setting::kImageFolderPath, s.imageFolderPath) &&
           writer.WriteDword(setting::kFileSortBy, dword(s.fileSortBy)) &&
           writer.WriteDword(setting::kFileSortAscending, s.fileSortAscending ? 1 : 0) &&
           writer.WriteDword(setting::kPictureChangeInterval, dword(s.pictureChangeInterval)) &&
           writer.WriteDword(setting::kAutoStart, s.autoStart ? 1 : 0) &&
           writer.WriteDword(setting::kAutoStartDelay, dword(s.autoStartDelay)) &&
           writer.WriteDword(setting::kShowCalendar, s.showCalendar ? 1 : 0) &&
           writer.WriteDword(setting::kDoNotRemoveTempFiles, s.doNotRemoveTempFiles ? 1 : 0) &&
           writer.WriteText(setting::kPpcTempFilePath, TrimBlanks(s.ppcTempFilePath)) &&
           writer.WriteDword(setting::kPpcTempMaxFileCount, dword(s.ppcTempMaxFileCount));
}

std::string WithTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::string ChooseDefaultPictureFolder(const std::string& programFolder,
                                       const ShellFolder& myPictures,
                                       const ShellFolder& myDocuments) {
    std::string folder = WithTrailingBackslash(programFolder);
    if (myPictures.known) {
        if (myPictures.path && !myPictures.path->empty()) {
            folder = WithTrailingBackslash(*myPictures.path);
        }
    } else if (myDocuments.known && myDocuments.path && !myDocuments.path->empty()) {
        folder = WithTrailingBackslash(*myDocuments.path);
    }
    return folder;
}

}  // namespace glimmora::desktop
