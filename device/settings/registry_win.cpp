#include "device/settings/registry_win.h"

#include <vector>

namespace glimmora::device {

UniqueHkey OpenRegistryKey(HKEY root, const std::wstring& path) {
    UniqueHkey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WRITE, key.put()) != ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

UniqueHkey CreateRegistryKey(HKEY root, const std::wstring& path) {
    UniqueHkey key;
    DWORD disposition = 0;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          key.put(), &disposition) != ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

std::optional<DWORD> ReadDwordValue(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        size != sizeof(value)) {
        return std::nullopt;
    }
    return value;
}

bool WriteDwordValue(HKEY key, const wchar_t* name, DWORD value) {
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

std::optional<DWORD> ValueDataBytes(HKEY key, const wchar_t* name) {
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return size;
}

std::optional<TextValue> ReadTextValue(HKEY key, const wchar_t* name, DWORD minBytes) {
    DWORD size = 0;
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size < minBytes) {
        return std::nullopt;
    }
    // One spare character so that data stored without its terminator still ends in one.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &read) != ERROR_SUCCESS ||
        read != size) {
        return std::nullopt;
    }
    TextValue value;
    value.text.assign(buffer.data());  // up to the first terminator
    value.type = type;
    value.bytes = size;
    return value;
}

bool WriteTextValue(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type) {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                            bytes) == ERROR_SUCCESS;
}

bool DeleteRegistryValue(HKEY key, const wchar_t* name) {
    return ::RegDeleteValueW(key, name) == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY parent, const wchar_t* subkey) {
    {
        UniqueHkey key = OpenRegistryKey(parent, subkey);
        if (!key) return false;
        // Key names are at most 255 characters.
        wchar_t name[256];
        for (;;) {
            DWORD length = 256;
            // Always the first subkey: each one is gone once deleted, or the walk stops.
            if (::RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            if (!DeleteRegistryTree(key.get(), name)) return false;
        }
    }
    return ::RegDeleteKeyW(parent, subkey) == ERROR_SUCCESS;
}

}  // namespace glimmora::device
