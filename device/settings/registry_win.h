// Small registry reads and writes on top of UniqueHkey, shared by the viewer's dialogs, the
// association and the setup hooks. Every call is silent: a failure is an empty optional or
// false, and each value is read on its own so one bad value does not spoil the others.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_win.h"

namespace glimmora::device {

// Opens an existing key; an empty owner when it is missing or cannot be opened.
UniqueHkey OpenRegistryKey(HKEY root, const std::wstring& path);
// Opens the key, creating it (and the keys above it) when missing.
UniqueHkey CreateRegistryKey(HKEY root, const std::wstring& path);

// A value of exactly 4 bytes, as a DWORD; any other size counts as unreadable.
std::optional<DWORD> ReadDwordValue(HKEY key, const wchar_t* name);
bool WriteDwordValue(HKEY key, const wchar_t* name, DWORD value);

// The size in bytes of a value's data, when the value exists.
std::optional<DWORD> ValueDataBytes(HKEY key, const wchar_t* name);

struct TextValue {
    std::wstring text;
    DWORD type = REG_SZ;
    DWORD bytes = 0;  // the stored size, terminator included when it was stored
};

// A text value read whole (its size queried first); the text ends at the first terminator
// or at the end of the data, whichever comes first. Empty when the value is missing, cannot
// be read fully, or holds fewer than `minBytes` bytes.
std::optional<TextValue> ReadTextValue(HKEY key, const wchar_t* name, DWORD minBytes = 0);

// Writes `text` with its terminator ((characters + 1) x 2 bytes) as `type`.
bool WriteTextValue(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ);

bool DeleteRegistryValue(HKEY key, const wchar_t* name);

// Deletes `subkey` of `parent` with every value and key below it.
bool DeleteRegistryTree(HKEY parent, const wchar_t* subkey);

}  // namespace glimmora::device
