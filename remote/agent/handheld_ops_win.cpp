#include "remote/agent/handheld_ops_win.h"

#include "remote/agent/storage_card.h"

#include "remote/protocol/device_path.h"
#include "remote/protocol/link_numbers.h"

namespace glimmora::remote {
namespace {

constexpr std::size_t kMaxOpenHandles = 64;
constexpr std::size_t kMaxOpenKeys = 64;

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

uint32_t LastError() { return static_cast<uint32_t>(::GetLastError()); }

// The card file as it is now; a missing or unreadable file is a card with room to spare.
StorageCard ReadCard(const std::wstring& path) {
    if (path.empty()) return {};
    UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    char buffer[256];
    DWORD n = 0;
    if (!::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr)) return {};
    return ParseStorageCard(std::string(buffer, n));
}

// Handle numbers never look like a failed CreateFile (0 or -1) nor like each other after
// wrapping: they step by 4 within a range that stays clear of both.
uint32_t NextNumber(uint32_t* counter, uint32_t first) {
    uint32_t n = *counter;
    *counter = n >= 0x7FFFFFF0u ? first : n + 4;
    return n;
}

}  // namespace

uint32_t WinHandheldOps::HostPath(const std::u16string& device_path, std::wstring* host) const {
    std::u16string out;
    if (uint32_t e = MapDevicePath(U16(root_), device_path, &out)) return e;
    *host = Wide(out);
    return 0;
}

void WinHandheldOps::PrepareRoot() const {
    for (const wchar_t* folder : {L"", L"\\My Documents", L"\\Temp", L"\\Windows",
                                  L"\\Program Files", L"\\Application Data"}) {
        ::CreateDirectoryW((root_ + folder).c_str(), nullptr);
    }
}

uint32_t WinHandheldOps::AddHandle(HANDLE h) {
    if (handles_.size() >= kMaxOpenHandles) {
        ::CloseHandle(h);
        return 0;
    }
    uint32_t n;
    do {
        n = NextNumber(&next_handle_, 0x100);
    } while (handles_.count(n));
    handles_[n] = UniqueHandle(h);
    return n;
}

uint32_t WinHandheldOps::MakeFile(const std::u16string& path, uint32_t access, uint32_t share,
                                  uint32_t creation, uint32_t flags, uint32_t* handle) {
    std::wstring host;
    if (uint32_t e = HostPath(path, &host)) return e;
    if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING) return err::kInvalidParameter;
    if (handles_.size() >= kMaxOpenHandles) return ERROR_TOO_MANY_OPEN_FILES;
    // Only plain data access and ordinary attributes: flags that change what the handle is
    // (overlapped, backup semantics, delete on close) are not part of what a desktop asks for.
    DWORD host_access = access & (GENERIC_READ | GENERIC_WRITE);
    DWORD host_share = share & (FILE_SHARE_READ | FILE_SHARE_WRITE);
    DWORD host_flags =
        flags & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY);
    HANDLE h = ::CreateFileW(host.c_str(), host_access, host_share, nullptr, creation,
                             host_flags ? host_flags : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    *handle = AddHandle(h);
    return 0;
}

uint32_t WinHandheldOps::WriteAll(HANDLE h, const uint8_t* data, std::size_t size,
                                  std::size_t* done) const {
    std::size_t start = *done;
    while (*done - start < size) {
        DWORD n = 0;
        if (!::WriteFile(h, data + (*done - start), static_cast<DWORD>(size - (*done - start)), &n,
                         nullptr)) {
            return LastError();
        }
        if (n == 0) break;
        *done += n;
    }
    return 0;
}

uint32_t WinHandheldOps::WriteFile(uint32_t handle, const std::vector<uint8_t>& data,
                                   uint32_t* written) {
    *written = 0;
    auto it = handles_.find(handle);
    if (it == handles_.end()) return ERROR_INVALID_HANDLE;
    const StorageCard card = ReadCard(card_file_);
    const WritePlan plan = PlanWrite(card, data.size());
    // A slow card has taken half the data when it pauses, as a card that stalls part way.
    const std::size_t first = static_cast<std::size_t>(plan.bytes / 2);
    std::size_t done = 0;
    uint32_t e = WriteAll(it->second.get(), data.data(), first, &done);
    if (e == 0 && card.slow_ms > 0) ::Sleep(card.slow_ms);
    if (e == 0 && done == first) {
        e = WriteAll(it->second.get(), data.data() + first,
                     static_cast<std::size_t>(plan.bytes) - first, &done);
    }
    *written = static_cast<uint32_t>(done);
    if (e != 0) return e;
    // A full card takes what fits and then refuses the rest, as the file system reports it.
    return plan.full ? static_cast<uint32_t>(ERROR_DISK_FULL) : 0;
}

uint32_t WinHandheldOps::ReadFile(uint32_t handle, uint32_t max_bytes, std::vector<uint8_t>* data) {
    auto it = handles_.find(handle);
    if (it == handles_.end()) return ERROR_INVALID_HANDLE;
    data->resize(max_bytes);
    DWORD n = 0;
    if (!::ReadFile(it->second.get(), data->data(), max_bytes, &n, nullptr)) {
        data->clear();
        return LastError();
    }
    data->resize(n);
    return 0;
}

uint32_t WinHandheldOps::CloseHandle(uint32_t handle) {
    return handles_.erase(handle) ? 0 : ERROR_INVALID_HANDLE;
}

uint32_t WinHandheldOps::MakeDirectory(const std::u16string& path) {
    std::wstring host;
    if (uint32_t e = HostPath(path, &host)) return e;
    return ::CreateDirectoryW(host.c_str(), nullptr) ? 0 : LastError();
}

uint32_t WinHandheldOps::RemoveFile(const std::u16string& path) {
    std::wstring host;
    if (uint32_t e = HostPath(path, &host)) return e;
    return ::DeleteFileW(host.c_str()) ? 0 : LastError();
}

HKEY WinHandheldOps::ResolveKey(uint32_t key) const {
    switch (key) {
        case kHkeyClassesRoot: return HKEY_CLASSES_ROOT;
        case kHkeyCurrentUser: return HKEY_CURRENT_USER;
        case kHkeyLocalMachine: return HKEY_LOCAL_MACHINE;
        case kHkeyUsers: return HKEY_USERS;
        default: {
            auto it = keys_.find(key);
            return it == keys_.end() ? nullptr : it->second.get();
        }
    }
}

uint32_t WinHandheldOps::OpenKey(uint32_t key, const std::u16string& subkey, uint32_t* result) {
    HKEY parent = ResolveKey(key);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (keys_.size() >= kMaxOpenKeys) return ERROR_TOO_MANY_OPEN_FILES;
    std::wstring sub = Wide(subkey);
    HKEY opened = nullptr;
    // The handheld's registry has no access checks; ask for writing and fall back to reading
    // where the host refuses it.
    LONG e = ::RegOpenKeyExW(parent, sub.c_str(), 0, KEY_READ | KEY_WRITE, &opened);
    if (e == ERROR_ACCESS_DENIED) e = ::RegOpenKeyExW(parent, sub.c_str(), 0, KEY_READ, &opened);
    if (e != ERROR_SUCCESS) return static_cast<uint32_t>(e);
    uint32_t n;
    do {
        n = NextNumber(&next_key_, 0x2000);
    } while (keys_.count(n));
    keys_[n] = UniqueHkey(opened);
    *result = n;
    return 0;
}

uint32_t WinHandheldOps::CreateKey(uint32_t key, const std::u16string& subkey, uint32_t* result,
                                   uint32_t* disposition) {
    HKEY parent = ResolveKey(key);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (keys_.size() >= kMaxOpenKeys) return ERROR_TOO_MANY_OPEN_FILES;
    std::wstring sub = Wide(subkey);
    HKEY created = nullptr;
    DWORD how = 0;
    LONG e = ::RegCreateKeyExW(parent, sub.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                               &created, &how);
    if (e != ERROR_SUCCESS) return static_cast<uint32_t>(e);
    uint32_t n;
    do {
        n = NextNumber(&next_key_, 0x2000);
    } while (keys_.count(n));
    keys_[n] = UniqueHkey(created);
    *result = n;
    *disposition = how;
    return 0;
}

uint32_t WinHandheldOps::SetValue(uint32_t key, const std::u16string& name, uint32_t type,
                                  const std::vector<uint8_t>& data) {
    HKEY k = ResolveKey(key);
    if (!k) return ERROR_INVALID_HANDLE;
    if (type > REG_QWORD) return ERROR_INVALID_PARAMETER;
    std::wstring n = Wide(name);
    return static_cast<uint32_t>(
        ::RegSetValueExW(k, n.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())));
}

uint32_t WinHandheldOps::QueryValue(uint32_t key, const std::u16string& name,
                                    RegistryValue* value) {
    HKEY k = ResolveKey(key);
    if (!k) return ERROR_INVALID_HANDLE;
    std::wstring n = Wide(name);
    // The value may change between asking its size and reading it; a few tries settle it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0, size = 0;
        LONG e = ::RegQueryValueExW(k, n.c_str(), nullptr, &type, nullptr, &size);
        if (e != ERROR_SUCCESS) return static_cast<uint32_t>(e);
        if (size > kMaxRegistryValue) return ERROR_NOT_ENOUGH_MEMORY;
        value->data.assign(size, 0);
        e = ::RegQueryValueExW(k, n.c_str(), nullptr, &type, value->data.data(), &size);
        if (e == ERROR_MORE_DATA) continue;
        if (e != ERROR_SUCCESS) return static_cast<uint32_t>(e);
        value->data.resize(size);
        value->type = type;
        return 0;
    }
    return ERROR_MORE_DATA;
}

uint32_t WinHandheldOps::CloseKey(uint32_t key) {
    return keys_.erase(key) ? 0 : ERROR_INVALID_HANDLE;
}

uint32_t WinHandheldOps::SpecialFolder(int32_t csidl, std::u16string* path) {
    return SpecialFolderPath(csidl, path) ? 0 : ERROR_FILE_NOT_FOUND;
}

std::u16string WinHandheldOps::TempPath() { return DeviceTempPath(); }

int32_t WinHandheldOps::SystemMetrics(int32_t index) { return ::GetSystemMetrics(index); }

uint32_t WinHandheldOps::StartProcess(const std::u16string* application,
                                      const std::u16string* command_line, ProcessStarted* started) {
    // The handheld starts programs by their module name only.
    if (application == nullptr || application->empty()) return ERROR_INVALID_PARAMETER;
    std::wstring module;
    if (uint32_t e = HostPath(*application, &module)) return e;
    // A handheld program receives only its arguments; a desktop-style program expects its own
    // name first. Quoting the name keeps the arguments exactly as the desktop sent them.
    std::wstring line = L"\"" + module + L"\"";
    if (command_line != nullptr && !command_line->empty()) line += L" " + Wide(*command_line);
    std::vector<wchar_t> mutable_line(line.begin(), line.end());
    mutable_line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Started in the root, so that handheld paths on the command line ("\My Documents\...")
    // resolve on the handheld's drive.
    std::wstring cwd = root_ + L"\\";
    if (!::CreateProcessW(module.c_str(), mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          cwd.c_str(), &si, &pi)) {
        return LastError();
    }
    started->process_id = pi.dwProcessId;
    started->thread_id = pi.dwThreadId;
    started->process_handle = AddHandle(pi.hProcess);
    started->thread_handle = AddHandle(pi.hThread);
    return 0;
}

void WinHandheldOps::CloseAll() {
    handles_.clear();
    keys_.clear();
}

}  // namespace glimmora::remote
