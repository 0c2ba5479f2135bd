// The handheld's side of every call, performed on this machine: files under the handheld's
// root folder, the registry of this Wine prefix, its screen and its programs.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "common/unique_win.h"
#include "remote/protocol/handheld_ops.h"

namespace glimmora::remote {

class WinHandheldOps : public HandheldOps {
  public:
    // root: the host folder that stands for the handheld's "\" (its C: drive by default).
    explicit WinHandheldOps(std::wstring root) : root_(std::move(root)) {}
    ~WinHandheldOps() override { CloseAll(); }

    uint32_t MakeFile(const std::u16string& path, uint32_t access, uint32_t share,
                      uint32_t creation, uint32_t flags, uint32_t* handle) override;
    uint32_t WriteFile(uint32_t handle, const std::vector<uint8_t>& data,
                       uint32_t* written) override;
    uint32_t ReadFile(uint32_t handle, uint32_t max_bytes, std::vector<uint8_t>* data) override;
    uint32_t CloseHandle(uint32_t handle) override;
    uint32_t MakeDirectory(const std::u16string& path) override;
    uint32_t RemoveFile(const std::u16string& path) override;
    uint32_t OpenKey(uint32_t key, const std::u16string& subkey, uint32_t* result) override;
    uint32_t CreateKey(uint32_t key, const std::u16string& subkey, uint32_t* result,
                       uint32_t* disposition) override;
    uint32_t SetValue(uint32_t key, const std::u16string& name, uint32_t type,
                      const std::vector<uint8_t>& data) override;
    uint32_t QueryValue(uint32_t key, const std::u16string& name, RegistryValue* value) override;
    uint32_t CloseKey(uint32_t key) override;
    uint32_t SpecialFolder(int32_t csidl, std::u16string* path) override;
    std::u16string TempPath() override;
    int32_t SystemMetrics(int32_t index) override;
    uint32_t StartProcess(const std::u16string* application, const std::u16string* command_line,
                          ProcessStarted* started) override;
    void CloseAll() override;

    // Creates the folders every handheld has, so the special folders exist from the start.
    void PrepareRoot() const;
    // The host file that holds the storage card's state (see storage_card.h); none: a card
    // with room for everything.
    void set_card_file(std::wstring path) { card_file_ = std::move(path); }

  private:
    uint32_t HostPath(const std::u16string& device_path, std::wstring* host) const;
    HKEY ResolveKey(uint32_t key) const;
    uint32_t AddHandle(HANDLE h);
    uint32_t WriteAll(HANDLE h, const uint8_t* data, std::size_t size, std::size_t* done) const;

    std::wstring root_;
    std::wstring card_file_;
    // Everything the desktop opened on this link, by the number it was given. Bounded so that
    // a peer cannot exhaust the agent's handles.
    std::map<uint32_t, UniqueHandle> handles_;
    std::map<uint32_t, UniqueHkey> keys_;
    uint32_t next_handle_ = 0x100;
    uint32_t next_key_ = 0x2000;
};

}  // namespace glimmora::remote
