// A stand-in handheld program: records the arguments it was given and the folder it was
// started in, so a test can see what CeCreateProcess really launched.
#include <windows.h>

#include <string>

int main() {
    std::wstring line = ::GetCommandLineW();
    // Skip the program's own name, quoted or not, as a handheld program never sees it.
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        i = line.find(L'"', 1);
        i = i == std::wstring::npos ? line.size() : i + 1;
    } else {
        while (i < line.size() && line[i] != L' ') ++i;
    }
    while (i < line.size() && line[i] == L' ') ++i;
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring report = L"args=" + line.substr(i) + L"\ncwd=" + cwd + L"\n";
    HANDLE f = ::CreateFileW(L"child-ran.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD n = 0;
    ::WriteFile(f, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &n, nullptr);
    ::CloseHandle(f);
    // Renamed when complete, so the test never reads half a report.
    return ::MoveFileExW(L"child-ran.tmp", L"child-ran.txt", MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
