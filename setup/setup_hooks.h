// The four entry points of the handheld installer's setup library interface, as the
// installer calls them: C linkage, __cdecl, wide-character strings. Each returns 0, which the
// installer reads as "continue" (the *_Init hooks) or "done" (the *_Exit hooks).
#pragma once

#include <windows.h>

extern "C" {

typedef int SetupHookResult;

SetupHookResult __cdecl Install_Init(HWND parent, BOOL firstCall, BOOL previouslyInstalled,
                                     const wchar_t* installDir);
SetupHookResult __cdecl Install_Exit(HWND parent, const wchar_t* installDir, WORD failedDirs,
                                     WORD failedFiles, WORD failedRegKeys, WORD failedRegValues,
                                     WORD failedShortcuts);
SetupHookResult __cdecl Uninstall_Init(HWND parent, const wchar_t* installDir);
SetupHookResult __cdecl Uninstall_Exit(HWND parent);

typedef SetupHookResult(__cdecl* InstallInitHook)(HWND, BOOL, BOOL, const wchar_t*);
typedef SetupHookResult(__cdecl* InstallExitHook)(HWND, const wchar_t*, WORD, WORD, WORD, WORD,
                                                  WORD);
typedef SetupHookResult(__cdecl* UninstallInitHook)(HWND, const wchar_t*);
typedef SetupHookResult(__cdecl* UninstallExitHook)(HWND);
}
