// Tandrel.dll: the setup hooks the handheld's installer calls while it installs or removes
// Glimmora. No hook can fail the installer; each returns 0 and shows nothing.
#include "device/association/association_win.h"
#include "setup/install_steps_win.h"
#include "setup/setup_hooks.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

SetupHookResult __cdecl Install_Init(HWND, BOOL, BOOL, const wchar_t*) { return 0; }

SetupHookResult __cdecl Install_Exit(HWND, const wchar_t* installDir, WORD, WORD, WORD, WORD,
                                     WORD) {
    glimmora::setup::RecordInstallFolder(glimmora::setup::SetupPlaces{}, installDir);
    return 0;
}

SetupHookResult __cdecl Uninstall_Init(HWND, const wchar_t*) {
    glimmora::setup::RemoveApplication(glimmora::setup::SetupPlaces{},
                                       glimmora::device::association::PlatformMajorVersion());
    return 0;
}

SetupHookResult __cdecl Uninstall_Exit(HWND) { return 0; }
}
