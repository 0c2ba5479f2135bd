// The remote API as the desktop program uses it: the connection record and the types of the
// fifteen entry points it looks up in rapi.dll by name. The stand-in rapi.dll defines the
// functions with exactly these types (checked when it is built).
#pragma once

#include <windows.h>

#include <cstddef>

namespace glimmora::rapi {

// The connection record of CeRapiInitEx: cbSize must be sizeof(RapiInit) (12 bytes on 32-bit
// Windows, 24 on 64-bit, where the handle is 8 bytes and aligned); the library
// fills heRapiInit with an event it signals once the link is up (hrRapiInit 0) or has failed
// (hrRapiInit the failure). The library owns the event; it stays valid until the next
// CeRapiInitEx.
struct RapiInit {
    DWORD cbSize;
    HANDLE heRapiInit;
    HRESULT hrRapiInit;
};
static_assert(offsetof(RapiInit, heRapiInit) == sizeof(void*) &&
                  sizeof(RapiInit) == (sizeof(void*) == 4 ? 12 : 24),
              "the record has the platform's layout");

// Returned by CeRapiInitEx while a link (or an attempt) from an earlier call still exists.
constexpr HRESULT kAlreadyInitialized = static_cast<HRESULT>(0x80041001L);

using PfnCeRapiInitEx = HRESULT(WINAPI*)(RapiInit*);
using PfnCeRapiUninit = HRESULT(WINAPI*)();
using PfnCeCreateFile = HANDLE(WINAPI*)(LPCWSTR name, DWORD access, DWORD share,
                                        LPSECURITY_ATTRIBUTES security, DWORD creation, DWORD flags,
                                        HANDLE template_file);
using PfnCeWriteFile = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                     LPOVERLAPPED overlapped);
using PfnCeCloseHandle = BOOL(WINAPI*)(HANDLE object);
using PfnCeCreateDirectory = BOOL(WINAPI*)(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
using PfnCeDeleteFile = BOOL(WINAPI*)(LPCWSTR name);
using PfnCeRegOpenKeyEx = LONG(WINAPI*)(HKEY key, LPCWSTR subkey, DWORD reserved, REGSAM access,
                                        PHKEY result);
using PfnCeRegSetValueEx = LONG(WINAPI*)(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                         const BYTE* data, DWORD size);
using PfnCeRegQueryValueEx = LONG(WINAPI*)(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type,
                                           LPBYTE data, LPDWORD size);
using PfnCeRegCloseKey = LONG(WINAPI*)(HKEY key);
using PfnCeGetSpecialFolderPath = DWORD(WINAPI*)(int folder, DWORD length, LPWSTR buffer);
using PfnCeGetTempPath = DWORD(WINAPI*)(DWORD length, LPWSTR buffer);
using PfnCeGetSystemMetrics = int(WINAPI*)(int index);
using PfnCeCreateProcess = BOOL(WINAPI*)(LPCWSTR application, LPCWSTR command_line,
                                         LPSECURITY_ATTRIBUTES process_security,
                                         LPSECURITY_ATTRIBUTES thread_security, BOOL inherit,
                                         DWORD flags, LPVOID environment, LPWSTR current_directory,
                                         LPSTARTUPINFOW startup, LPPROCESS_INFORMATION information);

// Also exported, for tools and tests (the desktop program does not use them).
using PfnCeRapiGetError = HRESULT(WINAPI*)();
using PfnCeGetLastError = DWORD(WINAPI*)();
using PfnCeReadFile = BOOL(WINAPI*)(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read,
                                    LPOVERLAPPED overlapped);
using PfnCeRegCreateKeyEx = LONG(WINAPI*)(HKEY key, LPCWSTR subkey, DWORD reserved,
                                          LPWSTR key_class, DWORD options, REGSAM access,
                                          LPSECURITY_ATTRIBUTES security, PHKEY result,
                                          LPDWORD disposition);

// GetProcAddress with the entry point's own type (FARPROC is cast through void* so the compiler
// accepts the conversion between function types).
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Where the stand-in finds its handheld, read at every CeRapiInitEx:
//   GLIMMORA_RAPI_HOST         numeric IPv4 loopback address of the agent (default 127.0.0.1)
//   GLIMMORA_RAPI_PORT         its TCP port (default 47931)
//   GLIMMORA_RAPI_SECRET       the pairing secret itself, or
//   GLIMMORA_RAPI_SECRET_FILE  a file holding it; without either, a file "rapi.secret"
//                              beside rapi.dll.
constexpr unsigned short kDefaultPort = 47931;

}  // namespace glimmora::rapi
