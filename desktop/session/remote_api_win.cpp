#include "desktop/session/remote_api_win.h"

namespace glimmora::desktop::session {

bool RemoteApiLibrary::Load(const char* name) {
    Unload();
    UniqueModule module(LoadLibraryA(name));
    if (!module) return false;
    const HMODULE m = module.get();
    RemoteApi api;
    api.CeRapiInitEx = rapi::LookUp<rapi::PfnCeRapiInitEx>(m, "CeRapiInitEx");
    api.CeRapiUninit = rapi::LookUp<rapi::PfnCeRapiUninit>(m, "CeRapiUninit");
    api.CeCreateFile = rapi::LookUp<rapi::PfnCeCreateFile>(m, "CeCreateFile");
    api.CeWriteFile = rapi::LookUp<rapi::PfnCeWriteFile>(m, "CeWriteFile");
    api.CeCloseHandle = rapi::LookUp<rapi::PfnCeCloseHandle>(m, "CeCloseHandle");
    api.CeCreateDirectory = rapi::LookUp<rapi::PfnCeCreateDirectory>(m, "CeCreateDirectory");
    api.CeDeleteFile = rapi::LookUp<rapi::PfnCeDeleteFile>(m, "CeDeleteFile");
    api.CeRegOpenKeyEx = rapi::LookUp<rapi::PfnCeRegOpenKeyEx>(m, "CeRegOpenKeyEx");
    api.CeRegSetValueEx = rapi::LookUp<rapi::PfnCeRegSetValueEx>(m, "CeRegSetValueEx");
    api.CeRegQueryValueEx = rapi::LookUp<rapi::PfnCeRegQueryValueEx>(m, "CeRegQueryValueEx");
    api.CeRegCloseKey = rapi::LookUp<rapi::PfnCeRegCloseKey>(m, "CeRegCloseKey");
    api.CeGetSpecialFolderPath =
        rapi::LookUp<rapi::PfnCeGetSpecialFolderPath>(m, "CeGetSpecialFolderPath");
    api.CeGetTempPath = rapi::LookUp<rapi::PfnCeGetTempPath>(m, "CeGetTempPath");
    api.CeGetSystemMetrics = rapi::LookUp<rapi::PfnCeGetSystemMetrics>(m, "CeGetSystemMetrics");
    api.CeCreateProcess = rapi::LookUp<rapi::PfnCeCreateProcess>(m, "CeCreateProcess");
    const bool all = api.CeRapiInitEx && api.CeRapiUninit && api.CeCreateFile && api.CeWriteFile &&
                     api.CeCloseHandle && api.CeCreateDirectory && api.CeDeleteFile &&
                     api.CeRegOpenKeyEx && api.CeRegSetValueEx && api.CeRegQueryValueEx &&
                     api.CeRegCloseKey && api.CeGetSpecialFolderPath && api.CeGetTempPath &&
                     api.CeGetSystemMetrics && api.CeCreateProcess;
    if (!all) return false;  // the module is unloaded as it goes out of scope
    module_ = std::move(module);
    api_ = api;
    return true;
}

void RemoteApiLibrary::Unload() {
    api_ = RemoteApi();
    module_.reset();
}

}  // namespace glimmora::desktop::session
