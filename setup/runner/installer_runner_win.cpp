// installer-runner: stands in for the handheld's application installer. It drives a setup
// library through its four hooks in the order the installer calls them, copying the
// application's files in between (install) or deleting them (uninstall).
//
//   installer-runner install INSTALL_DIR SETUP_DLL [FILE...]
//   installer-runner uninstall INSTALL_DIR SETUP_DLL_NAME [FILE_NAME...]
//
// Exit status: 0 done, 1 a step failed (one line on standard error says which), 2 usage.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/unique_win.h"
#include "setup/setup_hooks.h"

namespace {

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

int Fail(const std::wstring& what) {
    std::fprintf(stderr, "installer-runner: %s\n", Narrow(what).c_str());
    return 1;
}

int Usage() {
    std::fputs(
        "usage: installer-runner install INSTALL_DIR SETUP_DLL [FILE...]\n"
        "       installer-runner uninstall INSTALL_DIR SETUP_DLL_NAME [FILE_NAME...]\n",
        stderr);
    return 2;
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Join(const std::wstring& dir, const std::wstring& name) {
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) return dir + name;
    return dir + L"\\" + name;
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `path` and the folders above it; false when it is still not a folder.
bool MakeFolders(const std::wstring& path) {
    if (path.empty() || IsDirectory(path)) return !path.empty();
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0) MakeFolders(path.substr(0, slash));
    return ::CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path);
}

struct SetupHooks {
    glimmora::UniqueModule library;
    InstallInitHook installInit = nullptr;
    InstallExitHook installExit = nullptr;
    UninstallInitHook uninstallInit = nullptr;
    UninstallExitHook uninstallExit = nullptr;
};

template <typename Hook>
bool Resolve(HMODULE library, const char* name, Hook& hook) {
    hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return hook != nullptr;
}

// The installer refuses a setup library that lacks any of the four hooks.
bool LoadHooks(const std::wstring& path, SetupHooks& hooks, std::wstring& error) {
    hooks.library.reset(::LoadLibraryW(path.c_str()));
    if (!hooks.library) {
        error = L"cannot load the setup library " + path;
        return false;
    }
    HMODULE m = hooks.library.get();
    if (!Resolve(m, "Install_Init", hooks.installInit) ||
        !Resolve(m, "Install_Exit", hooks.installExit) ||
        !Resolve(m, "Uninstall_Init", hooks.uninstallInit) ||
        !Resolve(m, "Uninstall_Exit", hooks.uninstallExit)) {
        error = L"the setup library " + path + L" lacks one of the four setup hooks";
        return false;
    }
    return true;
}

int Install(const std::wstring& dir, const std::wstring& setupDll,
            const std::vector<std::wstring>& files) {
    SetupHooks hooks;
    std::wstring error;
    if (!LoadHooks(setupDll, hooks, error)) return Fail(error);
    const BOOL previouslyInstalled = IsDirectory(dir);
    if (hooks.installInit(nullptr, TRUE, previouslyInstalled, dir.c_str()) != 0) {
        return Fail(L"the setup library cancelled the installation");
    }

    WORD failedDirs = 0;
    WORD failedFiles = 0;
    if (!MakeFolders(dir)) ++failedDirs;
    std::vector<std::wstring> sources = files;
    sources.insert(sources.begin(), setupDll);
    std::wstring firstFailure;
    for (const std::wstring& source : sources) {
        const std::wstring target = Join(dir, FileNameOf(source));
        if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) {
            ++failedFiles;
            if (firstFailure.empty()) firstFailure = L"cannot copy " + source + L" to " + target;
        }
    }
    hooks.installExit(nullptr, dir.c_str(), failedDirs, failedFiles, 0, 0, 0);
    if (failedDirs) return Fail(L"cannot create the folder " + dir);
    if (failedFiles) return Fail(firstFailure);
    return 0;
}

int Uninstall(const std::wstring& dir, const std::wstring& setupName,
              const std::vector<std::wstring>& names) {
    const std::wstring installed = Join(dir, setupName);
    // The library runs from a copy, so that the installed one can be deleted meanwhile.
    wchar_t tempDir[MAX_PATH + 1];
    wchar_t copy[MAX_PATH + 1];
    if (!::GetTempPathW(MAX_PATH + 1, tempDir) || !::GetTempFileNameW(tempDir, L"stp", 0, copy)) {
        return Fail(L"cannot make a temporary copy of the setup library");
    }
    if (!::CopyFileW(installed.c_str(), copy, FALSE)) {
        ::DeleteFileW(copy);
        return Fail(L"no setup library at " + installed);
    }
    int status = 0;
    {
        SetupHooks hooks;
        std::wstring error;
        if (!LoadHooks(copy, hooks, error)) {
            status = Fail(error);
        } else if (hooks.uninstallInit(nullptr, dir.c_str()) != 0) {
            status = Fail(L"the setup library cancelled the removal");
        } else {
            std::vector<std::wstring> remove = names;
            remove.push_back(setupName);
            for (const std::wstring& name : remove) {
                const std::wstring path = Join(dir, name);
                if (!::DeleteFileW(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
                    status = Fail(L"cannot delete " + path);
                }
            }
            // A folder still holding files that are not ours stays.
            ::RemoveDirectoryW(dir.c_str());
            hooks.uninstallExit(nullptr);
        }
    }
    ::DeleteFileW(copy);
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return Usage();
    const std::wstring command = argv[1];
    const std::wstring dir = argv[2];
    const std::wstring setup = argv[3];
    std::vector<std::wstring> rest(argv + 4, argv + argc);
    if (dir.empty() || setup.empty()) return Usage();
    if (command == L"install") return Install(dir, setup, rest);
    if (command == L"uninstall") {
        for (const std::wstring& name : rest) {
            if (name != FileNameOf(name))
                return Fail(L"uninstall takes file names, not paths: " + name);
        }
        if (setup != FileNameOf(setup))
            return Fail(L"uninstall takes the setup library's file name: " + setup);
        return Uninstall(dir, setup, rest);
    }
    return Usage();
}
