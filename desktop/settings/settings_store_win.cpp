#include "desktop/settings/settings_store_win.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "common/unique_win.h"
#include "common/window_handle_bits.h"

namespace glimmora::desktop {

namespace {

UniqueHkey OpenKey(HKEY root, const std::string& path, bool create) {
    HKEY key = nullptr;
    LONG status;
    if (create) {
        status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    } else {
        status = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    }
    return UniqueHkey(status == ERROR_SUCCESS ? key : nullptr);
}

class RegistryValues : public SettingsReader, public SettingsWriter {
  public:
    explicit RegistryValues(HKEY key) : key_(key) {}

    std::optional<std::uint32_t> ReadDword(const char* name) override {
        DWORD type = 0, value = 0, size = sizeof value;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value) {
            return std::nullopt;
        }
        return value;
    }

    std::optional<std::string> ReadText(const char* name) override {
        // The value may change size between the two calls, and need not end with a NUL.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0, size = 0;
            if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
                type != REG_SZ) {
                return std::nullopt;
            }
            std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
            DWORD got = size;
            const LONG status = RegQueryValueExA(key_, name, nullptr, &type,
                                                 reinterpret_cast<BYTE*>(buffer.data()), &got);
            if (status == ERROR_MORE_DATA) continue;
            if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
            buffer[std::min<std::size_t>(got, size)] = '\0';
            return std::string(buffer.data());
        }
        return std::nullopt;
    }

    bool WriteDword(const char* name, std::uint32_t value) override {
        const DWORD data = value;
        return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool WriteText(const char* name, const std::string& value) override {
        return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

  private:
    HKEY key_;
};

// The shell's answer for one special folder.
ShellFolder AskShell(int csidl) {
    ShellFolder folder;
    LPITEMIDLIST item = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &item)) || !item) return folder;
    folder.known = true;
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(item, path) && path[0] != '\0') folder.path = std::string(path);
    CoTaskMemFree(item);  // the shell allocator's memory
    return folder;
}

std::string ProgramFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) {
            const std::string path(buffer.data(), length);
            const std::size_t slash = path.find_last_of('\\');
            return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

SettingsStore::SettingsStore(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    // The stored form "\Software\..." means "relative to the root key"; the registry API
    // itself refuses a leading backslash.
    while (!path_.empty() && path_.front() == '\\') path_.erase(path_.begin());
}

DesktopSettings SettingsStore::Load(HWND window) {
    const UniqueHkey key = OpenKey(root_, path_, true);
    if (!key) return InitialWindowSettings();
    RegistryValues values(key.get());
    const DesktopSettings settings = ReadSettings(values);
    // Four bytes, as a 32-bit handle: a second copy of the program reads it back as one.
    const std::uint32_t handle = WindowToStoredBits(window);
    RegSetValueExA(key.get(), setting::kActiveWindowHandle, 0, REG_BINARY,
                   reinterpret_cast<const BYTE*>(&handle), sizeof handle);
    return settings;
}

bool SettingsStore::Save(const DesktopSettings& settings) {
    const UniqueHkey key = OpenKey(root_, path_, true);
    if (!key) return false;
    RegistryValues values(key.get());
    return WriteSettings(settings, values);
}

void SettingsStore::ClearLastImageFilePath() { WriteLastImageFilePath(std::string()); }

std::string SettingsStore::ReadLastImageFilePath() {
    const UniqueHkey key = OpenKey(root_, path_, false);
    if (!key) return std::string();
    RegistryValues values(key.get());
    return values.ReadText(setting::kLastImageFilePath).value_or(std::string());
}

bool SettingsStore::WriteLastImageFilePath(const std::string& path) {
    const UniqueHkey key = OpenKey(root_, path_, true);
    if (!key) return false;
    RegistryValues values(key.get());
    return values.WriteText(setting::kLastImageFilePath, path);
}

void SettingsStore::RemoveActiveWindowHandle() {
    const UniqueHkey key = OpenKey(root_, path_, false);
    if (key) RegDeleteValueA(key.get(), setting::kActiveWindowHandle);
}

std::optional<HWND> SettingsStore::ReadActiveWindowHandle() {
    const UniqueHkey key = OpenKey(root_, path_, false);
    if (!key) return std::nullopt;
    DWORD type = 0, size = 4;
    std::uint32_t handle = 0;
    if (RegQueryValueExA(key.get(), setting::kActiveWindowHandle, nullptr, &type,
                         reinterpret_cast<BYTE*>(&handle), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != 4) {
        return std::nullopt;
    }
    return WindowFromStoredBits(handle);
}

std::string DefaultPictureFolder() {
    const ShellFolder pictures = AskShell(CSIDL_MYPICTURES);
    // My Documents is asked only when the shell does not know My Pictures at all.
    const ShellFolder documents = pictures.known ? ShellFolder{} : AskShell(CSIDL_PERSONAL);
    return ChooseDefaultPictureFolder(ProgramFolder(), pictures, documents);
}

bool IsExistingDirectory(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ApplyDefaultPictureFolder(DesktopSettings& settings) {
    if (!IsExistingDirectory(settings.imageFolderPath)) {
        settings.imageFolderPath = DefaultPictureFolder();
    }
}

}  // namespace glimmora::desktop
