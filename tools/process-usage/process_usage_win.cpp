// process-usage NAME.exe...: one line per running process of those names in this Wine
// prefix (or Windows session): "NAME PID PRIVATE_BYTES HANDLES GDI_OBJECTS USER_OBJECTS".
// A figure the system cannot give is printed as -1. The soak runs it beside the programs
// it watches, so that their resources are counted as the programs themselves would see them.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

#include "common/unique_win.h"

namespace {

long long PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        return -1;
    }
    return static_cast<long long>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

long long Handles(HANDLE process) {
    DWORD n = 0;
    return ::GetProcessHandleCount(process, &n) ? static_cast<long long>(n) : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: process-usage NAME.exe...\n", stderr);
        return 2;
    }
    glimmora::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return 1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        for (int i = 1; i < argc; ++i) {
            if (::lstrcmpiW(entry.szExeFile, argv[i]) != 0) continue;
            glimmora::UniqueHandle process(
                ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
            long long bytes = -1, handles = -1, gdi = -1, user = -1;
            if (process) {
                bytes = PrivateBytes(process.get());
                handles = Handles(process.get());
                gdi = static_cast<long long>(::GetGuiResources(process.get(), GR_GDIOBJECTS));
                user = static_cast<long long>(::GetGuiResources(process.get(), GR_USEROBJECTS));
            }
            std::printf("%ls %lu %lld %lld %lld %lld\n", entry.szExeFile, entry.th32ProcessID, bytes, handles, gdi, user);
        }
    }
    return 0;
}
