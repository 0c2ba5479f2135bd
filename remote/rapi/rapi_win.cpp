// The stand-in rapi.dll: the platform's remote API entry points, carried over the handheld
// link to the agent. One link at a time, as the platform allows; every call made without a
// link, or on a link that broke, fails at once rather than waiting.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <memory>
#include <mutex>
#include <type_traits>

#include "common/unique_win.h"
#include "remote/protocol/link_numbers.h"
#include "remote/rapi/link_win.h"
#include "remote/rapi/rapi_api_win.h"

using glimmora::rapi::RapiInit;
namespace remote = glimmora::remote;
namespace err = glimmora::remote::err;

namespace {

HMODULE g_self = nullptr;
std::mutex g_state;                    // guards the four below
std::shared_ptr<remote::Link> g_link;  // from CeRapiInitEx until CeRapiUninit
glimmora::UniqueHandle g_connector;    // the thread making the link
glimmora::UniqueHandle g_event;        // the event handed out in the caller's record
RapiInit* g_record = nullptr;          // the caller's record, until its result is written
std::atomic<HRESULT> g_rapi_error{S_OK};
std::atomic<DWORD> g_last_error{0};
// Started at the first CeRapiInitEx rather than in DllMain, where the loader lock forbids it,
// and kept for the life of the process.
remote::WinsockSession* g_winsock = nullptr;

HRESULT FromWin32(uint32_t e) { return e == 0 ? S_OK : HRESULT_FROM_WIN32(e); }

// Writes the outcome into the caller's record once and wakes whoever waits for it.
// Caller holds g_state.
void ReportOutcome(HRESULT hr) {
    if (g_record != nullptr) {
        g_record->hrRapiInit = hr;
        g_record = nullptr;
    }
    g_rapi_error = hr;
    if (g_event) ::SetEvent(g_event.get());
}

DWORD WINAPI ConnectorMain(void* parameter) {
    std::unique_ptr<std::shared_ptr<remote::Link>> holder(
        static_cast<std::shared_ptr<remote::Link>*>(parameter));
    std::shared_ptr<remote::Link> link = *holder;
    holder.reset();
    remote::LinkConfig config = remote::ReadLinkConfig(g_self);
    if (!config.problem.empty()) ::OutputDebugStringA(("rapi: " + config.problem + "\n").c_str());
    uint32_t e = link->Connect(config);
    {
        std::lock_guard<std::mutex> lock(g_state);
        // A CeRapiUninit in the meantime has already reported and owns the outcome.
        if (g_link == link && !link->cancelled()) {
            if (e == 0) link->MarkUp();
            ReportOutcome(FromWin32(e));
        }
    }
    link.reset();
    // The thread holds a reference on this module, so the DLL cannot be unloaded under it.
    ::FreeLibraryAndExitThread(g_self, 0);
    return 0;
}

void SetErrors(uint32_t e) {
    g_last_error = e;
    ::SetLastError(e);
}

// Runs one remote call on the current link. Returns the call's error, or kNotConnected when
// there is no usable link; a link that breaks during the call is closed for good.
template <typename Call>
uint32_t OnLink(Call&& call) {
    std::shared_ptr<remote::Link> link;
    {
        std::lock_guard<std::mutex> lock(g_state);
        if (g_link && g_link->up()) link = g_link;
    }
    if (!link) {
        g_rapi_error = FromWin32(err::kNotConnected);
        return err::kNotConnected;
    }
    std::lock_guard<std::mutex> call_lock(link->call_mutex());
    if (link->cancelled()) {
        g_rapi_error = FromWin32(err::kNotConnected);
        return err::kNotConnected;
    }
    uint32_t e = call(link->client());
    if (link->client().link_failed()) {
        g_rapi_error = FromWin32(link->client().link_error());
        link->Close();
    } else {
        g_rapi_error = S_OK;
    }
    return e;
}

std::u16string U16(LPCWSTR s) {
    if (s == nullptr) return {};
    return std::u16string(s, s + std::wcslen(s));
}

uint32_t Id(HANDLE h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }
uint32_t Id(HKEY k) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(k)); }

}  // namespace

extern "C" {

HRESULT WINAPI CeRapiInitEx(RapiInit* init) {
    if (init == nullptr || init->cbSize != sizeof(RapiInit)) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(g_state);
    if (g_link) return glimmora::rapi::kAlreadyInitialized;
    if (g_winsock == nullptr) g_winsock = new remote::WinsockSession();
    if (!g_winsock->ok()) return FromWin32(WSASYSNOTREADY);
    glimmora::UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) return FromWin32(::GetLastError());
    // A reference on this module for the connector thread, which gives it back as it ends.
    glimmora::UniqueModule pinned;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&ConnectorMain), pinned.put())) {
        return FromWin32(::GetLastError());
    }
    auto link = std::make_shared<remote::Link>();
    auto parameter = std::make_unique<std::shared_ptr<remote::Link>>(link);
    glimmora::UniqueHandle thread(
        ::CreateThread(nullptr, 0, ConnectorMain, parameter.get(), 0, nullptr));
    if (!thread) return FromWin32(::GetLastError());
    // Both belong to the running thread now.
    parameter.release();
    pinned.release();
    // The event of an earlier link is closed only now, so a late waiter never held a dead handle.
    g_event = std::move(event);
    init->heRapiInit = g_event.get();
    g_record = init;
    g_link = std::move(link);
    g_connector = std::move(thread);
    return S_OK;
}

// Blocking form, kept for tools: waits for the link as the platform's CeRapiInit does.
HRESULT WINAPI CeRapiInit() {
    RapiInit init{sizeof(RapiInit), nullptr, E_FAIL};
    HRESULT hr = CeRapiInitEx(&init);
    if (FAILED(hr)) return hr;
    // Connecting gives up within kConnectTimeoutMs; the margin covers the thread's start.
    if (::WaitForSingleObject(init.heRapiInit, remote::kConnectTimeoutMs + 2000) != WAIT_OBJECT_0) {
        // Keep the result out of a record that goes out of scope.
        std::lock_guard<std::mutex> lock(g_state);
        if (g_record == &init) g_record = nullptr;
        return E_FAIL;
    }
    return init.hrRapiInit;
}

HRESULT WINAPI CeRapiUninit() {
    std::shared_ptr<remote::Link> link;
    glimmora::UniqueHandle thread;
    {
        std::lock_guard<std::mutex> lock(g_state);
        if (!g_link) return E_FAIL;
        link = std::move(g_link);
        thread = std::move(g_connector);
        link->Cancel();
        // A caller still waiting for the link hears that it will not come.
        if (g_record != nullptr) ReportOutcome(E_ABORT);
    }
    if (thread) {
        // The attempt notices the cancel within a fraction of a second.
        ::WaitForSingleObject(thread.get(), remote::kConnectTimeoutMs + 2000);
    }
    std::lock_guard<std::mutex> call_lock(link->call_mutex());
    link->Close();
    return S_OK;
}

HRESULT WINAPI CeRapiGetError() { return g_rapi_error; }

DWORD WINAPI CeGetLastError() { return g_last_error; }

HANDLE WINAPI CeCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                           DWORD creation, DWORD flags, HANDLE) {
    if (name == nullptr) {
        SetErrors(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    uint32_t handle = 0;
    uint32_t e = OnLink([&](remote::RemoteClient& c) {
        return c.MakeFile(U16(name), access, share, creation, flags, &handle);
    });
    SetErrors(e);
    if (e != 0) return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

BOOL WINAPI CeWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
    if (written != nullptr) *written = 0;
    if (data == nullptr && size > 0) {
        SetErrors(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint32_t done = 0;
    uint32_t e = OnLink([&](remote::RemoteClient& c) {
        return c.WriteFile(Id(file), static_cast<const uint8_t*>(data), size, &done);
    });
    if (written != nullptr) *written = done;
    SetErrors(e);
    return e == 0;
}

BOOL WINAPI CeReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED) {
    if (read != nullptr) *read = 0;
    if (buffer == nullptr && size > 0) {
        SetErrors(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint32_t got = 0;
    uint32_t e = OnLink([&](remote::RemoteClient& c) {
        return c.ReadFile(Id(file), static_cast<uint8_t*>(buffer), size, &got);
    });
    if (read != nullptr) *read = got;
    SetErrors(e);
    return e == 0;
}

BOOL WINAPI CeCloseHandle(HANDLE object) {
    uint32_t e = OnLink([&](remote::RemoteClient& c) { return c.CloseHandle(Id(object)); });
    SetErrors(e);
    return e == 0;
}

BOOL WINAPI CeCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    if (path == nullptr) {
        SetErrors(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint32_t e = OnLink([&](remote::RemoteClient& c) { return c.MakeDirectory(U16(path)); });
    SetErrors(e);
    return e == 0;
}

BOOL WINAPI CeDeleteFile(LPCWSTR name) {
    if (name == nullptr) {
        SetErrors(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint32_t e = OnLink([&](remote::RemoteClient& c) { return c.RemoveFile(U16(name)); });
    SetErrors(e);
    return e == 0;
}

// Registry calls report through their result, as the local registry functions do.
LONG WINAPI CeRegOpenKeyEx(HKEY key, LPCWSTR subkey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    uint32_t opened = 0;
    uint32_t e =
        OnLink([&](remote::RemoteClient& c) { return c.OpenKey(Id(key), U16(subkey), &opened); });
    if (e == 0) *result = reinterpret_cast<HKEY>(static_cast<uintptr_t>(opened));
    return static_cast<LONG>(e);
}

LONG WINAPI CeRegCreateKeyEx(HKEY key, LPCWSTR subkey, DWORD, LPWSTR, DWORD, REGSAM,
                             LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (result == nullptr || subkey == nullptr) return ERROR_INVALID_PARAMETER;
    uint32_t created = 0, how = 0;
    uint32_t e = OnLink(
        [&](remote::RemoteClient& c) { return c.CreateKey(Id(key), U16(subkey), &created, &how); });
    if (e == 0) {
        *result = reinterpret_cast<HKEY>(static_cast<uintptr_t>(created));
        if (disposition != nullptr) *disposition = how;
    }
    return static_cast<LONG>(e);
}

LONG WINAPI CeRegSetValueEx(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data,
                            DWORD size) {
    uint32_t e = OnLink(
        [&](remote::RemoteClient& c) { return c.SetValue(Id(key), U16(name), type, data, size); });
    return static_cast<LONG>(e);
}

LONG WINAPI CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                              LPDWORD size) {
    uint32_t value_type = 0, value_size = size ? *size : 0;
    uint32_t e = OnLink([&](remote::RemoteClient& c) {
        return c.QueryValue(Id(key), U16(name), &value_type, data, size ? &value_size : nullptr);
    });
    if (e == 0 || e == err::kMoreData) {
        if (type != nullptr) *type = value_type;
        if (size != nullptr) *size = value_size;
    }
    return static_cast<LONG>(e);
}

LONG WINAPI CeRegCloseKey(HKEY key) {
    return static_cast<LONG>(OnLink([&](remote::RemoteClient& c) { return c.CloseKey(Id(key)); }));
}

DWORD WINAPI CeGetSpecialFolderPath(int folder, DWORD length, LPWSTR buffer) {
    uint32_t e = 0;
    uint32_t n = 0;
    uint32_t link = OnLink([&](remote::RemoteClient& c) {
        n = c.SpecialFolder(folder, length, buffer, &e);
        return e;
    });
    SetErrors(link);
    return link == 0 ? n : 0;
}

DWORD WINAPI CeGetTempPath(DWORD length, LPWSTR buffer) {
    uint32_t e = 0;
    uint32_t n = 0;
    uint32_t link = OnLink([&](remote::RemoteClient& c) {
        n = c.TempPath(length, buffer, &e);
        return e;
    });
    SetErrors(link);
    return link == 0 ? n : 0;
}

int WINAPI CeGetSystemMetrics(int index) {
    int32_t value = 0;
    uint32_t e = OnLink([&](remote::RemoteClient& c) { return c.SystemMetrics(index, &value); });
    SetErrors(e);
    return e == 0 ? value : 0;
}

BOOL WINAPI CeCreateProcess(LPCWSTR application, LPCWSTR command_line, LPSECURITY_ATTRIBUTES,
                            LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPWSTR, LPSTARTUPINFOW,
                            LPPROCESS_INFORMATION information) {
    std::u16string app = U16(application), cmd = U16(command_line);
    remote::ProcessStarted started;
    uint32_t e = OnLink([&](remote::RemoteClient& c) {
        return c.StartProcess(application ? &app : nullptr, command_line ? &cmd : nullptr,
                              &started);
    });
    SetErrors(e);
    if (e != 0) return FALSE;
    if (information != nullptr) {
        information->hProcess =
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(started.process_handle));
        information->hThread =
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(started.thread_handle));
        information->dwProcessId = started.process_id;
        information->dwThreadId = started.thread_id;
    }
    return TRUE;
}

}  // extern "C"

// The exports must have exactly the types the desktop looks them up with.
namespace rapi = glimmora::rapi;
static_assert(std::is_same_v<decltype(&CeRapiInitEx), rapi::PfnCeRapiInitEx>);
static_assert(std::is_same_v<decltype(&CeRapiUninit), rapi::PfnCeRapiUninit>);
static_assert(std::is_same_v<decltype(&CeCreateFile), rapi::PfnCeCreateFile>);
static_assert(std::is_same_v<decltype(&CeWriteFile), rapi::PfnCeWriteFile>);
static_assert(std::is_same_v<decltype(&CeCloseHandle), rapi::PfnCeCloseHandle>);
static_assert(std::is_same_v<decltype(&CeCreateDirectory), rapi::PfnCeCreateDirectory>);
static_assert(std::is_same_v<decltype(&CeDeleteFile), rapi::PfnCeDeleteFile>);
static_assert(std::is_same_v<decltype(&CeRegOpenKeyEx), rapi::PfnCeRegOpenKeyEx>);
static_assert(std::is_same_v<decltype(&CeRegSetValueEx), rapi::PfnCeRegSetValueEx>);
static_assert(std::is_same_v<decltype(&CeRegQueryValueEx), rapi::PfnCeRegQueryValueEx>);
static_assert(std::is_same_v<decltype(&CeRegCloseKey), rapi::PfnCeRegCloseKey>);
static_assert(std::is_same_v<decltype(&CeGetSpecialFolderPath), rapi::PfnCeGetSpecialFolderPath>);
static_assert(std::is_same_v<decltype(&CeGetTempPath), rapi::PfnCeGetTempPath>);
static_assert(std::is_same_v<decltype(&CeGetSystemMetrics), rapi::PfnCeGetSystemMetrics>);
static_assert(std::is_same_v<decltype(&CeCreateProcess), rapi::PfnCeCreateProcess>);
static_assert(std::is_same_v<decltype(&CeRapiGetError), rapi::PfnCeRapiGetError>);
static_assert(std::is_same_v<decltype(&CeGetLastError), rapi::PfnCeGetLastError>);
static_assert(std::is_same_v<decltype(&CeReadFile), rapi::PfnCeReadFile>);
static_assert(std::is_same_v<decltype(&CeRegCreateKeyEx), rapi::PfnCeRegCreateKeyEx>);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary (at process exit the system closes everything, and a lock
        // held by a thread already ended must not be waited for). No connector thread can be
        // running here, as each holds a reference on the module; a link the caller never
        // ended is simply closed.
        {
            std::lock_guard<std::mutex> lock(g_state);
            if (g_link) g_link->Close();
            g_link.reset();
            g_record = nullptr;
        }
    }
    return TRUE;
}
