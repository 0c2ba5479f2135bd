#include "device/association/association_win.h"

#include "device/association/association_rules.h"
#include "device/settings/registry_win.h"

namespace glimmora::device::association {

namespace {

// Saved values count only with more than a bare terminator.
constexpr DWORD kSavedValueMinBytes = 3;

UniqueHkey OpenClassSubkey(HKEY classesRoot, const std::wstring& className, const wchar_t* subkey) {
    std::optional<std::wstring> path = ClassKeyPath(className, subkey);
    if (!path) return UniqueHkey();
    return OpenRegistryKey(classesRoot, *path);
}

// Replaces a key's default value, keeping the type it had, and gives the old text when it
// is worth saving: read, replaced, and not of size 0.
std::optional<std::wstring> ReplaceDefaultValue(HKEY key, const std::wstring& replacement) {
    std::optional<TextValue> old = ReadTextValue(key, nullptr);
    if (!old) return std::nullopt;
    if (!WriteTextValue(key, nullptr, replacement, old->type)) return std::nullopt;
    if (old->bytes == 0) return std::nullopt;
    return old->text;
}

}  // namespace

std::optional<std::wstring> CurrentModulePath() {
    // One character more than the platform's limit tells a cut path from a whole one.
    wchar_t buffer[kModulePathChars + 1];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, kModulePathChars + 1);
    if (length == 0 || length > kModulePathChars) return std::nullopt;
    return std::wstring(buffer, length);
}

std::optional<unsigned long> PlatformMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}

std::optional<std::wstring> ReadJpegClass(HKEY classesRoot) {
    UniqueHkey key = OpenRegistryKey(classesRoot, kJpegExtensionKey);
    if (!key) return std::nullopt;
    std::optional<TextValue> value = ReadTextValue(key.get(), nullptr);
    if (!value || !ClassNameFits(value->text)) return std::nullopt;
    return value->text;
}

bool AssociationKept(const AssociationPlaces& places, const std::wstring& modulePath) {
    std::optional<std::wstring> className = ReadJpegClass(places.classesRoot);
    if (!className) return true;
    UniqueHkey command = OpenClassSubkey(places.classesRoot, *className, kOpenCommandSubkey);
    if (!command) return true;
    std::optional<TextValue> text = ReadTextValue(command.get(), nullptr);
    if (!text) return true;
    return CommandNamesProgram(text->text, modulePath);
}

void ForgetSavedAssociation(const AssociationPlaces& places) {
    UniqueHkey settings = places.settings.Open();
    if (!settings) return;
    DeleteRegistryValue(settings.get(), kOldDefaultIcon);
    DeleteRegistryValue(settings.get(), kOldShellOpenCommand);
}

bool AssociationInForce(const AssociationPlaces& places) {
    UniqueHkey settings = places.settings.Open();
    if (!settings) return false;
    std::optional<DWORD> bytes = ValueDataBytes(settings.get(), kOldShellOpenCommand);
    return bytes && SavedValueInForce(*bytes);
}

void TakeOverAssociation(const AssociationPlaces& places, const std::wstring& modulePath) {
    std::optional<std::wstring> className = ReadJpegClass(places.classesRoot);
    if (!className || modulePath.empty()) return;

    std::optional<std::wstring> savedCommand;
    std::optional<std::wstring> savedIcon;
    if (UniqueHkey command = OpenClassSubkey(places.classesRoot, *className, kOpenCommandSubkey)) {
        savedCommand = ReplaceDefaultValue(command.get(), OpenCommandFor(modulePath));
    }
    if (savedCommand) {
        if (UniqueHkey icon = OpenClassSubkey(places.classesRoot, *className, kDefaultIconSubkey)) {
            savedIcon = ReplaceDefaultValue(icon.get(), IconFor(modulePath));
        }
    }

    UniqueHkey settings = places.settings.OpenOrCreate();
    if (!settings) return;
    if (savedIcon) WriteTextValue(settings.get(), kOldDefaultIcon, *savedIcon);
    if (savedCommand) WriteTextValue(settings.get(), kOldShellOpenCommand, *savedCommand);
}

void GiveBackAssociation(const AssociationPlaces& places,
                         std::optional<unsigned long> majorVersion) {
    std::optional<std::wstring> savedIcon;
    std::optional<std::wstring> savedCommand;
    if (UniqueHkey settings = places.settings.Open()) {
        if (auto icon = ReadTextValue(settings.get(), kOldDefaultIcon, kSavedValueMinBytes)) {
            savedIcon = icon->text;
        }
        if (auto command =
                ReadTextValue(settings.get(), kOldShellOpenCommand, kSavedValueMinBytes)) {
            savedCommand = command->text;
        }
        DeleteRegistryValue(settings.get(), kOldDefaultIcon);
        DeleteRegistryValue(settings.get(), kOldShellOpenCommand);
    }
    RestoreAssociation(places.classesRoot, savedCommand, savedIcon, majorVersion);
}

void RestoreAssociation(HKEY classesRoot, const std::optional<std::wstring>& savedCommand,
                        const std::optional<std::wstring>& savedIcon,
                        std::optional<unsigned long> majorVersion) {
    std::optional<std::wstring> className = ReadJpegClass(classesRoot);
    if (!className) return;

    std::optional<std::wstring> icon = savedIcon;
    if (savedCommand) {
        if (UniqueHkey command = OpenClassSubkey(classesRoot, *className, kOpenCommandSubkey)) {
            WriteTextValue(command.get(), nullptr, *savedCommand);
            const std::wstring program = ProgramOfCommand(*savedCommand);
            if (ProgramNeedsFileCheck(program) &&
                ::GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
                const PlatformDefaults defaults = DefaultsForVersion(majorVersion);
                WriteTextValue(command.get(), nullptr, defaults.openCommand);
                icon = std::wstring(defaults.icon);
            }
        }
    }
    if (icon) {
        if (UniqueHkey iconKey = OpenClassSubkey(classesRoot, *className, kDefaultIconSubkey)) {
            WriteTextValue(iconKey.get(), nullptr, *icon);
        }
    }
}

}  // namespace glimmora::device::association
