// A scratch registry for one test: a fresh key under HKEY_CURRENT_USER with stand-ins for the
// hives the viewer and the setup hooks use (classes, current user, local machine), deleted
// with everything below it when the test ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_win.h"
#include "device/association/association_win.h"
#include "device/settings/settings_key_win.h"

namespace glimmora::test {

class ScratchRegistry {
  public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    HKEY classes() const { return classes_.get(); }
    HKEY currentUser() const { return currentUser_.get(); }
    HKEY localMachine() const { return localMachine_.get(); }

    // The application key below the current-user stand-in.
    device::SettingsKey settings() const;
    device::association::AssociationPlaces places() const;

    // Writers and readers for a key path below `root`, creating keys as needed.
    void SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text,
                 DWORD type = REG_SZ);
    void SetDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value);
    std::optional<std::wstring> Text(HKEY root, const std::wstring& path,
                                     const wchar_t* name) const;
    std::optional<DWORD> Dword(HKEY root, const std::wstring& path, const wchar_t* name) const;
    std::optional<DWORD> Type(HKEY root, const std::wstring& path, const wchar_t* name) const;
    bool KeyExists(HKEY root, const std::wstring& path) const;

    // A .jpg class with its open command and icon.
    void SetJpegClass(const std::wstring& className, const std::wstring& command,
                      const std::wstring& icon);

  private:
    std::wstring path_;
    UniqueHkey classes_;
    UniqueHkey currentUser_;
    UniqueHkey localMachine_;
};

}  // namespace glimmora::test
