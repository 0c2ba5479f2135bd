#include "tests/desktop/app/dockhaven_fixture_win.h"

#include <tlhelp32.h>

// The ANSI block, to which ANSI lines are added.
#undef GetEnvironmentStrings

#include "desktop/app/form_layout.h"

namespace glimmora::test {

namespace {
std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

UniqueHkey Key() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kDockhavenKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    return UniqueHkey(key);
}
}  // namespace

void WipeSettings() { RegDeleteKeyA(HKEY_CURRENT_USER, kDockhavenKey); }

void SetDword(const char* name, DWORD value) {
    RegSetValueExA(Key().get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

void SetText(const char* name, const std::string& value) {
    RegSetValueExA(Key().get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

std::optional<DWORD> GetDword(const char* name) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(Key().get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

bool ValueExists(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDockhavenKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    UniqueHkey owner(key);
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

Launched LaunchDockhaven(const std::string& arguments,
                         const std::vector<std::string>& environment) {
    const std::string program = ProgramFolder() + "Dockhaven.exe";
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> block;
    if (!environment.empty()) {
        const LPCH own = GetEnvironmentStrings();
        for (const char* p = own; *p; p += lstrlenA(p) + 1)
            block.insert(block.end(), p, p + lstrlenA(p) + 1);
        FreeEnvironmentStringsA(own);
        for (const std::string& line : environment)
            block.insert(block.end(), line.c_str(), line.c_str() + line.size() + 1);
        block.push_back('\0');
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Launched launched;
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                       block.empty() ? nullptr : block.data(), nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        launched.process.reset(info.hProcess);
        launched.id = info.dwProcessId;
    }
    return launched;
}

std::optional<DWORD> RunDockhavenToEnd(const std::string& arguments, DWORD ms) {
    Launched copy = LaunchDockhaven(arguments);
    if (!copy.process || WaitForSingleObject(copy.process.get(), ms) != WAIT_OBJECT_0) {
        if (copy.process) TerminateProcess(copy.process.get(), 99);
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(copy.process.get(), &code);
    return code;
}

bool WaitUntil(DWORD ms, const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

HWND WaitForMainWindow(DWORD ms) {
    HWND found = nullptr;
    WaitUntil(ms, [&] {
        found = FindWindowA(desktop::app::kMainClass, desktop::app::kMainCaption);
        return found != nullptr;
    });
    return found;
}

bool ProcessEnded(HANDLE process, DWORD ms) {
    return WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool Checked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }

std::vector<DWORD> ThreadsOf(DWORD processId) {
    std::vector<DWORD> threads;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == processId) threads.push_back(entry.th32ThreadID);
    }
    return threads;
}

HWND FindBox(DWORD processId, const char* caption) {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == processId && IsWindowVisible(box)) return box;
    }
    return nullptr;
}

}  // namespace glimmora::test
