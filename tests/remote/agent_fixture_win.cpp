#include "tests/remote/agent_fixture_win.h"

#include <cstdlib>

namespace glimmora::remote::testing {

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring MakeTempDir(const wchar_t* tag) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    for (int i = 0; i < 1000; ++i) {
        std::wstring dir = std::wstring(temp) + L"glimmora-" + tag + L"-" +
                           std::to_wstring(::GetCurrentProcessId()) + L"-" +
                           std::to_wstring(::GetTickCount() + i);
        if (::CreateDirectoryW(dir.c_str(), nullptr)) return dir;
    }
    return {};
}

void RemoveTree(const std::wstring& dir) {
    if (dir.empty()) return;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileW((dir + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(dir.c_str());
}

std::vector<uint8_t> ReadHostFile(const std::wstring& path) {
    UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<uint8_t> data;
    if (!f) return data;
    uint8_t buffer[65536];
    DWORD n = 0;
    while (::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        data.insert(data.end(), buffer, buffer + n);
    return data;
}

bool WriteHostFile(const std::wstring& path, const std::string& text) {
    UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD n = 0;
    return f && ::WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr) &&
           n == text.size();
}

bool AgentProcess::Start(const std::wstring& dir, const std::string& secret, unsigned short port,
                         const std::wstring& extra_args) {
    Kill();
    dir_ = dir;
    root_ = dir + L"\\root";
    ::CreateDirectoryW(root_.c_str(), nullptr);
    std::wstring secret_file = dir + L"\\secret";
    std::wstring port_file = dir + L"\\port";
    ::DeleteFileW(port_file.c_str());
    if (!WriteHostFile(secret_file, secret + "\n")) return false;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile log(::CreateFileW((dir + L"\\agent.log").c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    std::wstring exe = BinDir() + L"\\handheld-agent.exe";
    std::wstring line = L"\"" + exe + L"\" --secret-file \"" + secret_file + L"\" --root \"" +
                        root_ + L"\" --port " + std::to_wstring(port) + L" --port-file \"" +
                        port_file + L"\" --hello-timeout-ms 1000 --idle-timeout-ms 3000 " +
                        extra_args;
    std::vector<wchar_t> mutable_line(line.begin(), line.end());
    mutable_line.push_back(0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = log.get();
    si.hStdError = log.get();
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe.c_str(), mutable_line.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    ::CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    // A first start of a program under Wine can take a few seconds.
    for (int i = 0; i < 400; ++i) {
        std::vector<uint8_t> text = ReadHostFile(port_file);
        if (!text.empty()) {
            port_ = static_cast<unsigned short>(
                std::atoi(std::string(text.begin(), text.end()).c_str()));
            return port_ != 0;
        }
        if (!Alive()) return false;
        ::Sleep(50);
    }
    return false;
}

void AgentProcess::Kill() {
    if (!process_) return;
    ::TerminateProcess(process_.get(), 9);
    ::WaitForSingleObject(process_.get(), 10000);
    process_.reset();
}

bool AgentProcess::Alive() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::string AgentProcess::Log() const {
    std::vector<uint8_t> text = ReadHostFile(dir_ + L"\\agent.log");
    return std::string(text.begin(), text.end());
}

}  // namespace glimmora::remote::testing
