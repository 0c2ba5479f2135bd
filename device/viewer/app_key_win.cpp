#include "device/viewer/app_key_win.h"

#include <vector>

#include "common/window_handle_bits.h"
#include "handoff/registry_names.h"

namespace glimmora::device::viewer {

AppKey AppKey::OpenOrCreate() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, handoff::kDeviceAppKey, 0, nullptr, 0,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        key = nullptr;
    return AppKey(key);
}

AppKey AppKey::OpenExisting() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, handoff::kDeviceAppKey, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        key = nullptr;
    return AppKey(key);
}

std::optional<std::uint32_t> AppKey::ReadDword(const wchar_t* name) const {
    if (!key_) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key_.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> AppKey::ReadString(const wchar_t* name, DWORD bufferBytes) const {
    if (!key_ || bufferBytes < sizeof(wchar_t)) return std::nullopt;
    std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bufferBytes;
    if (::RegQueryValueExW(key_.get(), name, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    // A value stored without its terminator still ends inside the buffer.
    buffer[size / sizeof(wchar_t)] = L'\0';
    return std::wstring(buffer.data());
}

std::optional<DWORD> AppKey::ValueSize(const wchar_t* name) const {
    if (!key_) return std::nullopt;
    DWORD size = 0;
    if (::RegQueryValueExW(key_.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return size;
}

std::optional<HWND> AppKey::ReadWindow(const wchar_t* name) const {
    if (!key_) return std::nullopt;
    std::uint32_t bits = 0;
    DWORD size = sizeof bits;
    if (::RegQueryValueExW(key_.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&bits),
                           &size) != ERROR_SUCCESS ||
        size != sizeof bits)
        return std::nullopt;
    return WindowFromStoredBits(bits);
}

bool AppKey::WriteDword(const wchar_t* name, std::uint32_t value) const {
    if (!key_) return false;
    const DWORD v = value;
    return ::RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                            sizeof v) == ERROR_SUCCESS;
}

bool AppKey::WriteString(const wchar_t* name, const std::wstring& value) const {
    if (!key_) return false;
    return ::RegSetValueExW(
               key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool AppKey::WriteWindow(const wchar_t* name, HWND window) const {
    if (!key_) return false;
    const std::uint32_t bits = WindowToStoredBits(window);
    return ::RegSetValueExW(key_.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&bits),
                            sizeof bits) == ERROR_SUCCESS;
}

void AppKey::Delete(const wchar_t* name) const {
    if (key_) ::RegDeleteValueW(key_.get(), name);
}

}  // namespace glimmora::device::viewer
