// The remote API library, loaded by name at the start of each session: all fifteen entry
// points the session uses, or none of them.
#pragma once

#include <windows.h>

#include "common/unique_win.h"
#include "remote/rapi/rapi_api_win.h"

namespace glimmora::desktop::session {

inline constexpr char kRemoteApiLibrary[] = "rapi.dll";

struct RemoteApi {
    rapi::PfnCeRapiInitEx CeRapiInitEx = nullptr;
    rapi::PfnCeRapiUninit CeRapiUninit = nullptr;
    rapi::PfnCeCreateFile CeCreateFile = nullptr;
    rapi::PfnCeWriteFile CeWriteFile = nullptr;
    rapi::PfnCeCloseHandle CeCloseHandle = nullptr;
    rapi::PfnCeCreateDirectory CeCreateDirectory = nullptr;
    rapi::PfnCeDeleteFile CeDeleteFile = nullptr;
    rapi::PfnCeRegOpenKeyEx CeRegOpenKeyEx = nullptr;
    rapi::PfnCeRegSetValueEx CeRegSetValueEx = nullptr;
    rapi::PfnCeRegQueryValueEx CeRegQueryValueEx = nullptr;
    rapi::PfnCeRegCloseKey CeRegCloseKey = nullptr;
    rapi::PfnCeGetSpecialFolderPath CeGetSpecialFolderPath = nullptr;
    rapi::PfnCeGetTempPath CeGetTempPath = nullptr;
    rapi::PfnCeGetSystemMetrics CeGetSystemMetrics = nullptr;
    rapi::PfnCeCreateProcess CeCreateProcess = nullptr;
};

class RemoteApiLibrary {
  public:
    RemoteApiLibrary() = default;
    RemoteApiLibrary(const RemoteApiLibrary&) = delete;
    RemoteApiLibrary& operator=(const RemoteApiLibrary&) = delete;

    // Loads the library and looks up the fifteen entry points by their exact names. When the
    // library is missing or lacks one of them, nothing stays loaded and false is returned.
    bool Load(const char* name);
    void Unload();
    bool loaded() const { return static_cast<bool>(module_); }
    const RemoteApi& api() const { return api_; }

  private:
    UniqueModule module_;
    RemoteApi api_;
};

}  // namespace glimmora::desktop::session
