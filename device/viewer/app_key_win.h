// The application key "Software\Kestrova\Glimmora" under HKEY_CURRENT_USER, as the viewer
// uses it: every value read on its own, failures reported as "no value", never as errors.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/unique_win.h"

namespace glimmora::device::viewer {

class AppKey {
  public:
    // RegCreateKeyExW: the key is made when missing.
    static AppKey OpenOrCreate();
    // RegOpenKeyExW: nothing when the key is missing.
    static AppKey OpenExisting();

    explicit operator bool() const { return static_cast<bool>(key_); }

    std::optional<std::uint32_t> ReadDword(const wchar_t* name) const;
    // A REG_SZ of at most `bufferBytes` bytes, terminator included; a longer value fails.
    std::optional<std::wstring> ReadString(const wchar_t* name, DWORD bufferBytes) const;
    // The stored size of a value in bytes.
    std::optional<DWORD> ValueSize(const wchar_t* name) const;
    // A window handle stored in 4 bytes: the low 32 bits written, read back sign-extended.
    std::optional<HWND> ReadWindow(const wchar_t* name) const;

    bool WriteDword(const wchar_t* name, std::uint32_t value) const;
    bool WriteString(const wchar_t* name, const std::wstring& value) const;
    bool WriteWindow(const wchar_t* name, HWND window) const;
    void Delete(const wchar_t* name) const;

  private:
    explicit AppKey(HKEY key) : key_(key) {}
    UniqueHkey key_;
};

}  // namespace glimmora::device::viewer
