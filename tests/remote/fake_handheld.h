// An in-memory handheld for the protocol tests: files are byte vectors, the registry a map.
// It counts every call so a test can prove that a refused request never reached it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "remote/protocol/device_path.h"
#include "remote/protocol/handheld_ops.h"
#include "remote/protocol/link_numbers.h"

namespace glimmora::remote::testing {

class FakeHandheld : public HandheldOps {
  public:
    int calls = 0;
    std::map<std::u16string, std::vector<uint8_t>> files;
    std::map<std::u16string, RegistryValue> values;  // one flat key is enough here
    std::vector<std::vector<uint8_t>> writes;        // each WriteFile as it arrived
    std::u16string last_app, last_cmd;
    bool last_had_app = false, last_had_cmd = false;
    int closed_all = 0;

    uint32_t MakeFile(const std::u16string& path, uint32_t, uint32_t, uint32_t, uint32_t,
                      uint32_t* handle) override {
        ++calls;
        std::u16string host;
        if (uint32_t e = MapDevicePath(u"", path, &host)) return e;
        files[host].clear();
        open_[next_] = host;
        *handle = next_;
        next_ += 4;
        return 0;
    }
    uint32_t WriteFile(uint32_t handle, const std::vector<uint8_t>& data,
                       uint32_t* written) override {
        ++calls;
        auto it = open_.find(handle);
        if (it == open_.end()) return err::kInvalidHandle;
        writes.push_back(data);
        auto& f = files[it->second];
        f.insert(f.end(), data.begin(), data.end());
        *written = static_cast<uint32_t>(data.size());
        return 0;
    }
    uint32_t ReadFile(uint32_t handle, uint32_t max_bytes, std::vector<uint8_t>* data) override {
        ++calls;
        auto it = open_.find(handle);
        if (it == open_.end()) return err::kInvalidHandle;
        const auto& f = files[it->second];
        data->assign(f.begin(), f.begin() + std::min<std::size_t>(max_bytes, f.size()));
        return 0;
    }
    uint32_t CloseHandle(uint32_t handle) override {
        ++calls;
        return open_.erase(handle) ? 0 : err::kInvalidHandle;
    }
    uint32_t MakeDirectory(const std::u16string&) override { return ++calls, 0; }
    uint32_t RemoveFile(const std::u16string& path) override {
        ++calls;
        return files.erase(path) ? 0 : err::kFileNotFound;
    }
    uint32_t OpenKey(uint32_t, const std::u16string& subkey, uint32_t* result) override {
        ++calls;
        if (subkey != u"Software\\Test") return err::kFileNotFound;
        *result = 0x1000;
        return 0;
    }
    uint32_t CreateKey(uint32_t, const std::u16string&, uint32_t* result,
                       uint32_t* disposition) override {
        ++calls;
        *result = 0x1000;
        *disposition = 1;
        return 0;
    }
    uint32_t SetValue(uint32_t key, const std::u16string& name, uint32_t type,
                      const std::vector<uint8_t>& data) override {
        ++calls;
        if (key != 0x1000) return err::kInvalidHandle;
        values[name] = RegistryValue{type, data};
        return 0;
    }
    uint32_t QueryValue(uint32_t key, const std::u16string& name, RegistryValue* value) override {
        ++calls;
        if (key != 0x1000) return err::kInvalidHandle;
        auto it = values.find(name);
        if (it == values.end()) return err::kFileNotFound;
        *value = it->second;
        return 0;
    }
    uint32_t CloseKey(uint32_t key) override {
        return ++calls, key == 0x1000 ? 0 : err::kInvalidHandle;
    }
    uint32_t SpecialFolder(int32_t csidl, std::u16string* path) override {
        ++calls;
        return SpecialFolderPath(csidl, path) ? 0 : err::kFileNotFound;
    }
    std::u16string TempPath() override { return ++calls, DeviceTempPath(); }
    int32_t SystemMetrics(int32_t index) override {
        return ++calls, index == 0 ? 240 : index == 1 ? 320 : 0;
    }
    uint32_t StartProcess(const std::u16string* app, const std::u16string* cmd,
                          ProcessStarted* started) override {
        ++calls;
        last_had_app = app != nullptr;
        last_had_cmd = cmd != nullptr;
        last_app = app ? *app : u"";
        last_cmd = cmd ? *cmd : u"";
        *started = ProcessStarted{0x200, 0x204, 42, 43};
        return 0;
    }
    void CloseAll() override {
        ++closed_all;
        open_.clear();
    }

  private:
    std::map<uint32_t, std::u16string> open_;
    uint32_t next_ = 0x100;
};

}  // namespace glimmora::remote::testing
