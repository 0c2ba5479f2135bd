// Walks all fifteen remote calls against a running emulated handheld, through rapi.dll loaded
// by name as the desktop program loads it, and reports each result. With --check-root (the
// handheld's storage as this side sees it, e.g. Z:\...\storage) it also checks the
// effects on the handheld's disk. Exit status 0 when every call did what it should.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/unique_win.h"
#include "remote/rapi/rapi_api_win.h"

namespace {

using namespace glimmora::rapi;

int g_failures = 0;

void Report(bool ok, const char* call, const std::string& detail) {
    std::printf("%-24s %s  %s\n", call, ok ? "ok  " : "FAIL", detail.c_str());
    std::fflush(stdout);
    if (!ok) ++g_failures;
}

std::string Narrow(const std::wstring& s) {
    int n = ::WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

template <typename Fn>
bool Find(HMODULE m, const char* name, Fn* fn) {
    *fn = LookUp<Fn>(m, name);
    if (*fn == nullptr) Report(false, name, "missing from rapi.dll");
    return *fn != nullptr;
}

std::vector<uint8_t> ReadLocal(const std::wstring& path) {
    glimmora::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    DWORD n = 0;
    while (f && ::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        data.insert(data.end(), buffer, buffer + n);
    return data;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring check_root;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--check-root" && i + 1 < argc) {
            check_root = argv[++i];
        } else if (a == L"--leave-mark" && i + 1 < argc) {
            // The copy started on the handheld: its mark is a handheld path, made on the
            // drive it was started on.
            glimmora::UniqueFile f(::CreateFileW(argv[i + 1], GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            return f ? 0 : 1;
        } else {
            std::fprintf(stderr, "usage: rapi-exercise [--check-root HANDHELD_STORAGE]\n");
            return 2;
        }
    }

    glimmora::UniqueModule rapi(::LoadLibraryA("rapi.dll"));
    if (!rapi) {
        std::fprintf(stderr, "rapi-exercise: cannot load rapi.dll (error %lu)\n", ::GetLastError());
        return 2;
    }
    PfnCeRapiInitEx InitEx;
    PfnCeRapiUninit Uninit;
    PfnCeCreateFile CreateFile;
    PfnCeWriteFile WriteFile;
    PfnCeCloseHandle CloseHandle;
    PfnCeCreateDirectory CreateDirectory;
    PfnCeDeleteFile DeleteFile;
    PfnCeRegOpenKeyEx RegOpenKeyEx;
    PfnCeRegSetValueEx RegSetValueEx;
    PfnCeRegQueryValueEx RegQueryValueEx;
    PfnCeRegCloseKey RegCloseKey;
    PfnCeGetSpecialFolderPath GetSpecialFolderPath;
    PfnCeGetTempPath GetTempPath;
    PfnCeGetSystemMetrics GetSystemMetrics;
    PfnCeCreateProcess CreateProcess;
    HMODULE m = rapi.get();
    if (!(Find(m, "CeRapiInitEx", &InitEx) & Find(m, "CeRapiUninit", &Uninit) &
          Find(m, "CeCreateFile", &CreateFile) & Find(m, "CeWriteFile", &WriteFile) &
          Find(m, "CeCloseHandle", &CloseHandle) & Find(m, "CeCreateDirectory", &CreateDirectory) &
          Find(m, "CeDeleteFile", &DeleteFile) & Find(m, "CeRegOpenKeyEx", &RegOpenKeyEx) &
          Find(m, "CeRegSetValueEx", &RegSetValueEx) &
          Find(m, "CeRegQueryValueEx", &RegQueryValueEx) & Find(m, "CeRegCloseKey", &RegCloseKey) &
          Find(m, "CeGetSpecialFolderPath", &GetSpecialFolderPath) &
          Find(m, "CeGetTempPath", &GetTempPath) &
          Find(m, "CeGetSystemMetrics", &GetSystemMetrics) &
          Find(m, "CeCreateProcess", &CreateProcess))) {
        return 1;
    }

    RapiInit init{sizeof(RapiInit), nullptr, E_FAIL};
    HRESULT hr = InitEx(&init);
    DWORD wait = SUCCEEDED(hr) ? ::WaitForSingleObject(init.heRapiInit, 5000) : WAIT_FAILED;
    bool up = wait == WAIT_OBJECT_0 && init.hrRapiInit == S_OK;
    char detail[96];
    std::snprintf(detail, sizeof detail, "returned 0x%08lx, link 0x%08lx",
                  static_cast<unsigned long>(hr), static_cast<unsigned long>(init.hrRapiInit));
    Report(up, "CeRapiInitEx", detail);
    if (!up) {
        Uninit();
        return 1;
    }

    wchar_t folder[MAX_PATH] = {};
    DWORD n = GetSpecialFolderPath(5, MAX_PATH, folder);
    Report(n > 0, "CeGetSpecialFolderPath", "folder 5 = " + Narrow(folder));
    wchar_t temp[MAX_PATH] = {};
    n = GetTempPath(MAX_PATH, temp);
    Report(n > 0, "CeGetTempPath", Narrow(temp));
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    Report(cx > 0 && cy > 0, "CeGetSystemMetrics",
           "screen " + std::to_string(cx) + " x " + std::to_string(cy));

    std::wstring dir = std::wstring(folder) + L"\\RapiExercise";
    BOOL made = CreateDirectory(dir.c_str(), nullptr);
    DWORD made_error = ::GetLastError();
    Report(made || made_error == ERROR_ALREADY_EXISTS, "CeCreateDirectory",
           Narrow(dir) + (made ? " created" : " already there"));

    std::wstring file = dir + L"\\exercise.jpg";
    std::vector<uint8_t> bytes(256 * 1024);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + (i >> 8));
    HANDLE h = CreateFile(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    Report(h != INVALID_HANDLE_VALUE, "CeCreateFile", Narrow(file));
    DWORD written = 0;
    BOOL wrote = h != INVALID_HANDLE_VALUE &&
                 WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    Report(wrote && written == bytes.size(), "CeWriteFile", std::to_string(written) + " bytes");
    Report(h != INVALID_HANDLE_VALUE && CloseHandle(h), "CeCloseHandle", "");
    if (!check_root.empty()) {
        std::vector<uint8_t> back = ReadLocal(check_root + file);
        Report(back == bytes, "  on the handheld's disk", Narrow(check_root + file));
    }

    HKEY key = nullptr;
    LONG e = RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, 0, &key);
    Report(e == 0, "CeRegOpenKeyEx", "HKEY_CURRENT_USER\\Software, result " + std::to_string(e));
    const wchar_t text[] = L"written by rapi-exercise";
    e = RegSetValueEx(key, L"GlimmoraRapiExercise", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                      sizeof text);
    Report(e == 0, "CeRegSetValueEx", "REG_SZ GlimmoraRapiExercise, result " + std::to_string(e));
    wchar_t back[64] = {};
    DWORD type = 0, size = sizeof back;
    e = RegQueryValueEx(key, L"GlimmoraRapiExercise", nullptr, &type, reinterpret_cast<BYTE*>(back),
                        &size);
    Report(e == 0 && type == REG_SZ && size == sizeof text && std::wstring(back) == text,
           "CeRegQueryValueEx",
           "type " + std::to_string(type) + ", " + std::to_string(size) + " bytes");
    size = 4;
    e = RegQueryValueEx(key, L"GlimmoraRapiExercise", nullptr, &type, reinterpret_cast<BYTE*>(back),
                        &size);
    Report(e == ERROR_MORE_DATA && size == sizeof text, "  small buffer",
           "result " + std::to_string(e) + ", needs " + std::to_string(size));
    Report(RegCloseKey(key) == 0, "CeRegCloseKey", "");

    // The handheld's storage holds no system programs of the host: the exercise sends a copy
    // of itself there and starts it, and the copy leaves a mark the check can look for.
    std::wstring mark = std::wstring(folder) + L"\\RapiExercise\\process-ran.txt";
    std::wstring child = dir + L"\\exercise-child.exe";
    DeleteFile(mark.c_str());
    wchar_t self[MAX_PATH] = {};
    std::vector<uint8_t> program;
    if (::GetModuleFileNameW(nullptr, self, MAX_PATH) < MAX_PATH) program = ReadLocal(self);
    HANDLE ch = CreateFile(child.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD sent = 0;
    bool copied =
        ch != INVALID_HANDLE_VALUE && !program.empty() &&
        WriteFile(ch, program.data(), static_cast<DWORD>(program.size()), &sent, nullptr) &&
        sent == program.size();
    if (ch != INVALID_HANDLE_VALUE) CloseHandle(ch);
    std::wstring args = L"--leave-mark \"" + mark + L"\"";
    PROCESS_INFORMATION pi{};
    BOOL started = copied && CreateProcess(child.c_str(), args.c_str(), nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, nullptr, &pi);
    Report(started, "CeCreateProcess",
           Narrow(child) + ", process " + std::to_string(pi.dwProcessId));
    if (started) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    if (started && !check_root.empty()) {
        bool seen = false;
        for (int i = 0; i < 100 && !seen; ++i) {
            seen = ::GetFileAttributesW((check_root + mark).c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!seen) ::Sleep(100);
        }
        Report(seen, "  ran in the handheld", Narrow(mark));
    }

    Report(DeleteFile(file.c_str()), "CeDeleteFile", Narrow(file));
    Report(Uninit() == S_OK, "CeRapiUninit", "");
    std::printf("%s: %d failure(s)\n", g_failures ? "FAILED" : "passed", g_failures);
    return g_failures ? 1 : 0;
}
