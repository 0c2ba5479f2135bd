// The desktop side of the link: each handheld call becomes one request and one reply (a large
// write becomes several). Results follow the Win32 conventions the remote calls promise, so
// the DLL glue only converts types.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "remote/protocol/handheld_ops.h"
#include "remote/protocol/link_numbers.h"

namespace glimmora::remote {

class Transport {
  public:
    virtual ~Transport() = default;
    // Sends one request body and receives the reply body. Returns 0, or a Win32/Winsock error
    // when the link failed (closed, reset, timed out, or a frame that cannot be right).
    virtual uint32_t Exchange(const std::vector<uint8_t>& request, std::vector<uint8_t>* reply) = 0;
};

class RemoteClient {
  public:
    explicit RemoteClient(Transport& transport) : transport_(transport) {}

    // Every call returns a Win32 error code (registry calls: their LONG result). Once the link
    // has failed, calls fail at once with the error that broke it; a new link is a new client.
    uint32_t Hello(const std::string& secret);
    uint32_t MakeFile(const std::u16string& path, uint32_t access, uint32_t share,
                      uint32_t creation, uint32_t flags, uint32_t* handle);
    uint32_t WriteFile(uint32_t handle, const uint8_t* data, std::size_t size, uint32_t* written);
    uint32_t ReadFile(uint32_t handle, uint8_t* buffer, uint32_t size, uint32_t* read);
    uint32_t CloseHandle(uint32_t handle);
    uint32_t MakeDirectory(const std::u16string& path);
    uint32_t RemoveFile(const std::u16string& path);
    uint32_t OpenKey(uint32_t key, const std::u16string& subkey, uint32_t* result);
    uint32_t CreateKey(uint32_t key, const std::u16string& subkey, uint32_t* result,
                       uint32_t* disposition);
    uint32_t SetValue(uint32_t key, const std::u16string& name, uint32_t type, const uint8_t* data,
                      uint32_t size);
    // Local-registry rules: data may be null (size query); size may be null only when data is;
    // too small a buffer gives kMoreData with *size set to what is needed.
    uint32_t QueryValue(uint32_t key, const std::u16string& name, uint32_t* type, uint8_t* data,
                        uint32_t* size);
    uint32_t CloseKey(uint32_t key);
    // Copies into buffer (capacity in UTF-16 units, NUL included). Returns the units copied
    // without the NUL, or 0 on failure with *error set.
    uint32_t SpecialFolder(int32_t csidl, uint32_t capacity, void* buffer, uint32_t* error);
    // GetTempPath rules: a buffer too small gets the size needed, NUL included, and no copy.
    uint32_t TempPath(uint32_t capacity, void* buffer, uint32_t* error);
    uint32_t SystemMetrics(int32_t index, int32_t* value);
    uint32_t StartProcess(const std::u16string* application, const std::u16string* command_line,
                          ProcessStarted* started);

    bool link_failed() const { return link_error_ != 0; }
    uint32_t link_error() const { return link_error_; }

  private:
    // Sends the request and checks the reply header; on success *reply holds the reply and
    // *remote_error the handheld's error code. Returns a link error otherwise. A reply that
    // reports an error may stop after its header (refusals and malformed requests do).
    uint32_t Call(uint16_t op, const std::vector<uint8_t>& request, std::vector<uint8_t>* reply,
                  std::size_t* fields_at, uint32_t* remote_error);
    uint32_t Broken(uint32_t error);
    uint32_t CallForPath(Op op, const std::vector<uint8_t>& request, std::u16string* path);

    Transport& transport_;
    uint32_t link_error_ = 0;
};

}  // namespace glimmora::remote
