// What the agent does on the handheld, behind an interface so that the request handling can be
// built and fuzzed natively against a fake handheld. Paths arrive exactly as the desktop sent
// them (handheld paths such as "\My Documents\x.jpg"); handles and keys are the agent's own
// numbers, never host handles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::remote {

struct ProcessStarted {
    uint32_t process_handle = 0;
    uint32_t thread_handle = 0;
    uint32_t process_id = 0;
    uint32_t thread_id = 0;
};

struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class HandheldOps {
  public:
    virtual ~HandheldOps() = default;

    // Each returns a Win32 error code (registry calls: their LONG result); out-parameters are
    // meaningful only on success.
    virtual uint32_t MakeFile(const std::u16string& path, uint32_t access, uint32_t share,
                              uint32_t creation, uint32_t flags, uint32_t* handle) = 0;
    virtual uint32_t WriteFile(uint32_t handle, const std::vector<uint8_t>& data,
                               uint32_t* written) = 0;
    virtual uint32_t ReadFile(uint32_t handle, uint32_t max_bytes, std::vector<uint8_t>* data) = 0;
    virtual uint32_t CloseHandle(uint32_t handle) = 0;
    virtual uint32_t MakeDirectory(const std::u16string& path) = 0;
    virtual uint32_t RemoveFile(const std::u16string& path) = 0;
    virtual uint32_t OpenKey(uint32_t key, const std::u16string& subkey, uint32_t* result) = 0;
    virtual uint32_t CreateKey(uint32_t key, const std::u16string& subkey, uint32_t* result,
                               uint32_t* disposition) = 0;
    virtual uint32_t SetValue(uint32_t key, const std::u16string& name, uint32_t type,
                              const std::vector<uint8_t>& data) = 0;
    // Reads the whole value; the caller's buffer size is applied by the session.
    virtual uint32_t QueryValue(uint32_t key, const std::u16string& name, RegistryValue* value) = 0;
    virtual uint32_t CloseKey(uint32_t key) = 0;
    virtual uint32_t SpecialFolder(int32_t csidl, std::u16string* path) = 0;
    virtual std::u16string TempPath() = 0;
    virtual int32_t SystemMetrics(int32_t index) = 0;
    virtual uint32_t StartProcess(const std::u16string* application,
                                  const std::u16string* command_line, ProcessStarted* started) = 0;
    // The link ended: everything the desktop opened through it is closed.
    virtual void CloseAll() = 0;
};

}  // namespace glimmora::remote
