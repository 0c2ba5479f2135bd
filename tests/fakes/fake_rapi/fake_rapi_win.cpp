// A scripted remote API for the session tests: the fifteen entry points the desktop looks up,
// answering from a script (see fake_rapi_control.h) instead of a handheld. Files go to a host
// folder standing for the handheld's storage; the registry is a small table in memory; every
// call is written to a log with its arguments. Built twice: complete, and lacking one entry
// point (FAKE_RAPI_LACKING), for the test of a remote API that cannot be used.
#include <windows.h>

#include <cwctype>
#include <map>
#include <mutex>
#include <type_traits>
#include <string>
#include <vector>

#include "remote/rapi/rapi_api_win.h"
#include "tests/fakes/fake_rapi/fake_rapi_control.h"

using glimmora::fake_rapi::Script;
namespace fake = glimmora::fake_rapi;

namespace {

constexpr wchar_t kAppKey[] = L"software\\kestrova\\glimmora";
const HKEY kMachineKeyHandle = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1001));
const HKEY kUserKeyHandle = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1002));

struct Value {
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

struct State {
    Script script{};
    std::wstring log;
    int connections = 0;
    int writes = 0;
    bool connected = false;
    HANDLE event = nullptr;                       // handed out in the last record
    glimmora::rapi::RapiInit* pending = nullptr;  // a record still waiting for its answer
    std::map<std::wstring, Value> values[2];      // [0] HKLM key, [1] HKCU key, by lower-case name
};

std::mutex g_lock;
State g_state;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring Hex(ULONG_PTR value) {
    wchar_t buffer[32];
    wsprintfW(buffer, L"%lx", static_cast<unsigned long>(value));
    return buffer;
}

std::wstring Num(long long value) { return std::to_wstring(value); }

// Caller holds g_lock.
void Record(const std::wstring& line) {
    if (!g_state.script.record) return;
    g_state.log += Num(GetTickCount()) + L" " + line + L"\n";
}

std::wstring HostPath(const wchar_t* device) {
    std::wstring path = g_state.script.root;
    if (device && device[0] != L'\\') path += L"\\";
    return path + (device ? device : L"");
}

void SetDword(int root, const wchar_t* name, DWORD value) {
    Value v;
    v.type = REG_DWORD;
    v.bytes.assign(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + 4);
    g_state.values[root][Lower(name)] = v;
}

int RootOf(HKEY key) {
    if (key == kMachineKeyHandle) return 0;
    if (key == kUserKeyHandle) return 1;
    return -1;
}

std::wstring KeyName(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) return L"HKLM";
    if (key == HKEY_CURRENT_USER) return L"HKCU";
    const int root = RootOf(key);
    return root == 0   ? L"app-HKLM"
           : root == 1 ? L"app-HKCU"
                       : L"?" + Hex(reinterpret_cast<ULONG_PTR>(key));
}

void MakeFolders(const wchar_t* device) {
    if (!device[0]) return;
    std::wstring path = HostPath(device);
    for (std::size_t i = g_state.script.root[0] ? wcslen(g_state.script.root) + 1 : 0;
         i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
}

bool NotConnected() {
    if (g_state.connected) return false;
    SetLastError(ERROR_NOT_CONNECTED);
    return true;
}

}  // namespace

extern "C" {

// ---- control -------------------------------------------------------------------------------

__declspec(dllexport) void FakeRapi_Reset(const Script* script) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_state.event) CloseHandle(g_state.event);
    g_state = State();
    g_state.script = *script;
    if (script->hasInstalledDir) {
        Value v;
        v.type = REG_SZ;
        const std::size_t bytes = (wcslen(script->installedDir) + 1) * sizeof(wchar_t);
        const BYTE* text = reinterpret_cast<const BYTE*>(script->installedDir);
        v.bytes.assign(text, text + bytes);
        g_state.values[0][L"installeddirpath"] = v;
    }
    if (script->hasStopValue) SetDword(1, L"RAPI_StopSlideshow", script->stopValue);
    MakeFolders(script->personalFolder);
    MakeFolders(script->tempFolder);
}

__declspec(dllexport) DWORD FakeRapi_Log(wchar_t* buffer, DWORD units) {
    std::lock_guard<std::mutex> lock(g_lock);
    const DWORD needed = static_cast<DWORD>(g_state.log.size() + 1);
    if (buffer && units >= needed) memcpy(buffer, g_state.log.c_str(), needed * sizeof(wchar_t));
    return needed;
}

__declspec(dllexport) BOOL FakeRapi_QueryDword(int root, const wchar_t* name, DWORD* value) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (root < 0 || root > 1) return FALSE;
    auto found = g_state.values[root].find(Lower(name));
    if (found == g_state.values[root].end() || found->second.type != REG_DWORD) return FALSE;
    memcpy(value, found->second.bytes.data(), 4);
    return TRUE;
}

__declspec(dllexport) void FakeRapi_SetStop(DWORD value) {
    std::lock_guard<std::mutex> lock(g_lock);
    SetDword(1, L"RAPI_StopSlideshow", value);
}

__declspec(dllexport) int FakeRapi_Connections() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_state.connections;
}

// ---- the remote API ------------------------------------------------------------------------

__declspec(dllexport) HRESULT WINAPI CeRapiInitEx(glimmora::rapi::RapiInit* init) {
    std::lock_guard<std::mutex> lock(g_lock);
    const int number = ++g_state.connections;
    Record(L"CeRapiInitEx|" + Num(init ? init->cbSize : 0));
    if (!init || init->cbSize != sizeof(glimmora::rapi::RapiInit)) return E_INVALIDARG;
    int behaviour = g_state.script.connect;
    if (number <= g_state.script.failingConnections) behaviour = fake::kConnectFails;
    if (behaviour == fake::kConnectCallFails) return E_FAIL;
    // The event of the previous attempt goes only now, as the real library does.
    if (g_state.event) CloseHandle(g_state.event);
    g_state.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    init->heRapiInit = g_state.event;
    g_state.pending = nullptr;
    if (behaviour == fake::kConnectNeverAnswers) {
        g_state.pending = init;
        return S_OK;
    }
    if (behaviour == fake::kConnectSucceeds) {
        g_state.connected = true;
        if (g_state.script.stopAtConnection > 0 && number >= g_state.script.stopAtConnection &&
            g_state.script.hasUserKey) {
            SetDword(1, L"RAPI_StopSlideshow", 1);
        }
        init->hrRapiInit = S_OK;
    } else {
        init->hrRapiInit = E_FAIL;
    }
    SetEvent(g_state.event);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI CeRapiUninit() {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeRapiUninit");
    if (g_state.pending) {
        g_state.pending->hrRapiInit = E_ABORT;
        g_state.pending = nullptr;
        SetEvent(g_state.event);
    }
    const bool was = g_state.connected;
    g_state.connected = false;
    return was ? S_OK : E_FAIL;
}

__declspec(dllexport) HANDLE WINAPI
    CeCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD creation,
                 DWORD flags, HANDLE) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeCreateFile|" + std::wstring(name ? name : L"") + L"|" + Hex(access) + L"|" +
           Hex(share) + L"|" + Num(creation) + L"|" + Hex(flags));
    if (NotConnected()) return INVALID_HANDLE_VALUE;
    if (g_state.script.failCreateFile || !name) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(HostPath(name).c_str(), access, share, nullptr, creation, flags, nullptr);
}

__declspec(dllexport) BOOL WINAPI
    CeWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeWriteFile|" + Num(size));
    if (written) *written = 0;
    if (NotConnected()) return FALSE;
    const int limit = g_state.script.writeFailures;
    const bool scripted = limit <= 0 || g_state.writes++ < limit;
    switch (scripted ? g_state.script.write : fake::kWriteSucceeds) {
        case fake::kWriteCallFails: SetLastError(ERROR_WRITE_FAULT); return FALSE;
        case fake::kWriteReportsZero: return TRUE;
        case fake::kWriteShort: size /= 2; break;
        default: break;
    }
    return WriteFile(file, data, size, written, nullptr);
}

__declspec(dllexport) BOOL WINAPI CeCloseHandle(HANDLE object) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeCloseHandle");
    return CloseHandle(object);
}

__declspec(dllexport) BOOL WINAPI CeCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeCreateDirectory|" + std::wstring(path ? path : L""));
    if (NotConnected() || !path) return FALSE;
    return CreateDirectoryW(HostPath(path).c_str(), nullptr);
}

__declspec(dllexport) BOOL WINAPI CeDeleteFile(LPCWSTR name) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeDeleteFile|" + std::wstring(name ? name : L""));
    if (NotConnected() || !name) return FALSE;
    return DeleteFileW(HostPath(name).c_str());
}

__declspec(dllexport) LONG WINAPI
    CeRegOpenKeyEx(HKEY key, LPCWSTR subkey, DWORD reserved, REGSAM access, PHKEY result) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeRegOpenKeyEx|" + KeyName(key) + L"|" + std::wstring(subkey ? subkey : L"") + L"|" +
           Num(reserved) + L"|" + Num(access));
    if (NotConnected()) return ERROR_NOT_CONNECTED;
    if (!subkey || Lower(subkey) != kAppKey || !result) return ERROR_FILE_NOT_FOUND;
    if (key == HKEY_LOCAL_MACHINE && g_state.script.hasMachineKey) {
        *result = kMachineKeyHandle;
        return ERROR_SUCCESS;
    }
    if (key == HKEY_CURRENT_USER && g_state.script.hasUserKey) {
        *result = kUserKeyHandle;
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

__declspec(dllexport) LONG WINAPI CeRegSetValueEx(HKEY key, LPCWSTR name, DWORD reserved,
                                                  DWORD type, const BYTE* data, DWORD size) {
    std::lock_guard<std::mutex> lock(g_lock);
    std::wstring line = L"CeRegSetValueEx|" + KeyName(key) + L"|" +
                        std::wstring(name ? name : L"") + L"|" + Num(reserved) + L"|" + Num(type) +
                        L"|" + Num(size);
    if (type == REG_DWORD && size == 4 && data)
        line += L"|" + Num(*reinterpret_cast<const DWORD*>(data));
    Record(line);
    if (NotConnected()) return ERROR_NOT_CONNECTED;
    const int root = RootOf(key);
    if (root < 0 || !name) return ERROR_INVALID_HANDLE;
    Value v;
    v.type = type;
    if (data) v.bytes.assign(data, data + size);
    g_state.values[root][Lower(name)] = v;
    return ERROR_SUCCESS;
}

__declspec(dllexport) LONG WINAPI
    CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeRegQueryValueEx|" + KeyName(key) + L"|" + std::wstring(name ? name : L"") + L"|" +
           Num(size ? *size : 0));
    if (NotConnected()) return ERROR_NOT_CONNECTED;
    const int root = RootOf(key);
    if (root < 0 || !name) return ERROR_INVALID_HANDLE;
    auto found = g_state.values[root].find(Lower(name));
    if (found == g_state.values[root].end()) return ERROR_FILE_NOT_FOUND;
    const Value& v = found->second;
    if (type) *type = v.type;
    if (!size) return ERROR_INVALID_PARAMETER;
    const DWORD have = *size;
    *size = static_cast<DWORD>(v.bytes.size());
    if (!data) return ERROR_SUCCESS;
    if (have < v.bytes.size()) return ERROR_MORE_DATA;
    memcpy(data, v.bytes.data(), v.bytes.size());
    return ERROR_SUCCESS;
}

__declspec(dllexport) LONG WINAPI CeRegCloseKey(HKEY key) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeRegCloseKey|" + KeyName(key));
    return RootOf(key) < 0 ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI CeGetSpecialFolderPath(int folder, DWORD length, LPWSTR buffer) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeGetSpecialFolderPath|" + Num(folder) + L"|" + Num(length));
    if (NotConnected() || folder != 5 || !g_state.script.personalFolder[0] || !buffer) return 0;
    const DWORD n = static_cast<DWORD>(wcslen(g_state.script.personalFolder));
    if (n + 1 > length) return 0;
    wcscpy(buffer, g_state.script.personalFolder);
    return n;
}

__declspec(dllexport) DWORD WINAPI CeGetTempPath(DWORD length, LPWSTR buffer) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeGetTempPath|" + Num(length));
    if (NotConnected() || !g_state.script.tempFolder[0] || !buffer) return 0;
    const DWORD n = static_cast<DWORD>(wcslen(g_state.script.tempFolder));
    if (n + 1 > length) return 0;
    wcscpy(buffer, g_state.script.tempFolder);
    return n;
}

#ifndef FAKE_RAPI_LACKING
__declspec(dllexport) int WINAPI CeGetSystemMetrics(int index) {
    std::lock_guard<std::mutex> lock(g_lock);
    Record(L"CeGetSystemMetrics|" + Num(index));
    if (NotConnected()) return 0;
    if (index == SM_CXSCREEN) return g_state.script.screenWidth;
    if (index == SM_CYSCREEN) return g_state.script.screenHeight;
    return 0;
}
#endif

__declspec(dllexport) BOOL WINAPI
    CeCreateProcess(LPCWSTR application, LPCWSTR command_line, LPSECURITY_ATTRIBUTES ps,
                    LPSECURITY_ATTRIBUTES ts, BOOL inherit, DWORD flags, LPVOID env, LPWSTR cwd,
                    LPSTARTUPINFOW startup, LPPROCESS_INFORMATION information) {
    std::lock_guard<std::mutex> lock(g_lock);
    const bool bare = !ps && !ts && !env && !cwd && !startup;
    Record(L"CeCreateProcess|" + std::wstring(application ? application : L"") + L"|" +
           std::wstring(command_line ? command_line : L"") + L"|" + Num(inherit) + L"|" +
           Hex(flags) + L"|" + (bare ? L"bare" : L"extras"));
    if (NotConnected()) return FALSE;
    if (g_state.script.failCreateProcess) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (information) *information = PROCESS_INFORMATION{};
    return TRUE;
}

}  // extern "C"

// The entry points keep the types the desktop looks them up with.
static_assert(std::is_same_v<decltype(&CeRapiInitEx), glimmora::rapi::PfnCeRapiInitEx>);
static_assert(std::is_same_v<decltype(&CeCreateProcess), glimmora::rapi::PfnCeCreateProcess>);
static_assert(std::is_same_v<decltype(&CeRegQueryValueEx), glimmora::rapi::PfnCeRegQueryValueEx>);
