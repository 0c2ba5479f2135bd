// process-usage NAME.exe...: one line per running process of those names in this Wine
// prefix (or Windows session): "NAME PID PRIVATE_BYTES HANDLES GDI_OBJECTS USER_OBJECTS".
// A figure the system cannot give is printed as -1. The soak runs it beside the programs
// it watches, so that their resources are counted as the programs themselves would see them.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/unique_win.h"

namespace {

long long PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters)) {
        return -1;
    }
    return static_cast<long long>(counters.PrivateUsage ? counters.PrivateUsage
                                                        : counters.PagefileUsage);
}

// The system's process list carries every process's handle count; Wine answers a handle-count
// query about another process with 0, but keeps this list right.
std::map<DWORD, long long> HandleCounts() {
    std::map<DWORD, long long> counts;
    using Query = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return counts;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        NTSTATUS status = query(SystemProcessInformation, buffer.data(),
                                static_cast<ULONG>(buffer.size()), &needed);
        if (status >= 0) break;
        buffer.assign(std::max<std::size_t>(buffer.size() * 2, needed + 65536), 0);
        if (attempt == 3) return counts;
    }
    for (std::size_t offset = 0;;) {
        const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        counts[static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(p->UniqueProcessId))] =
            p->HandleCount;
        if (p->NextEntryOffset == 0) break;
        offset += p->NextEntryOffset;
    }
    return counts;
}

long long Handles(HANDLE process, DWORD pid, const std::map<DWORD, long long>& listed) {
    DWORD n = 0;
    if (::GetProcessHandleCount(process, &n) && n > 0) return static_cast<long long>(n);
    auto it = listed.find(pid);
    return it != listed.end() ? it->second : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: process-usage NAME.exe...\n", stderr);
        return 2;
    }
    glimmora::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return 1;
    const std::map<DWORD, long long> listed = HandleCounts();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        for (int i = 1; i < argc; ++i) {
            if (::lstrcmpiW(entry.szExeFile, argv[i]) != 0) continue;
            glimmora::UniqueHandle process(::OpenProcess(
                PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
            long long bytes = -1, handles = -1, gdi = -1, user = -1;
            if (process) {
                bytes = PrivateBytes(process.get());
                handles = Handles(process.get(), entry.th32ProcessID, listed);
                gdi = static_cast<long long>(::GetGuiResources(process.get(), GR_GDIOBJECTS));
                user = static_cast<long long>(::GetGuiResources(process.get(), GR_USEROBJECTS));
            }
            std::printf("%ls %lu %lld %lld %lld %lld\n", entry.szExeFile, entry.th32ProcessID,
                        bytes, handles, gdi, user);
        }
    }
    return 0;
}
