#include "remote/protocol/client.h"

#include <algorithm>
#include <cstring>

#include "remote/protocol/link_numbers.h"
#include "remote/protocol/wire.h"

namespace glimmora::remote {
namespace {

uint16_t OpCode(Op op) { return static_cast<uint16_t>(op); }

Writer Request(Op op) {
    Writer w;
    w.U16(OpCode(op));
    return w;
}

void CopyUnits(const std::u16string& s, void* buffer) {
    std::vector<uint8_t> bytes;
    bytes.reserve((s.size() + 1) * 2);
    for (char16_t c : s) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    std::memcpy(buffer, bytes.data(), bytes.size());
}

}  // namespace

uint32_t RemoteClient::Broken(uint32_t error) {
    if (link_error_ == 0) link_error_ = error;
    return link_error_;
}

uint32_t RemoteClient::Call(uint16_t op, const std::vector<uint8_t>& request,
                            std::vector<uint8_t>* reply, std::size_t* fields_at,
                            uint32_t* remote_error) {
    if (link_error_ != 0) return link_error_;
    reply->clear();
    uint32_t e = transport_.Exchange(request, reply);
    if (e != 0) return Broken(e);
    Reader r(reply->data(), reply->size());
    uint16_t reply_op = r.U16();
    *remote_error = r.U32();
    // A reply to some other request means the two sides no longer agree on the stream.
    if (!r.ok() || reply_op != (op | kReplyBit)) return Broken(err::kInvalidData);
    *fields_at = 6;
    return 0;
}

// Each call below: send, then read the reply fields strictly; a reply that does not parse
// breaks the link rather than handing the caller half-decoded values.
#define GLIMMORA_CALL(op, request)                                                            \
    std::vector<uint8_t> reply_bytes;                                                         \
    std::size_t fields_at = 0;                                                                \
    uint32_t remote_error = 0;                                                                \
    if (uint32_t link = Call(OpCode(op), (request), &reply_bytes, &fields_at, &remote_error)) \
        return link;                                                                          \
    if (reply_bytes.size() == fields_at && remote_error != 0) return remote_error;            \
    Reader r(reply_bytes.data() + fields_at, reply_bytes.size() - fields_at)

uint32_t RemoteClient::Hello(const std::string& secret) {
    std::vector<uint8_t> req =
        Request(Op::kHello)
            .U32(kHelloMagic)
            .U32(kProtocolVersion)
            .Blob(reinterpret_cast<const uint8_t*>(secret.data()), secret.size())
            .Take();
    GLIMMORA_CALL(Op::kHello, req);
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

uint32_t RemoteClient::MakeFile(const std::u16string& path, uint32_t access, uint32_t share,
                                uint32_t creation, uint32_t flags, uint32_t* handle) {
    GLIMMORA_CALL(
        Op::kCreateFile,
        Request(Op::kCreateFile).Str(path).U32(access).U32(share).U32(creation).U32(flags).Take());
    uint32_t h = r.U32();
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0) *handle = h;
    return remote_error;
}

uint32_t RemoteClient::WriteFile(uint32_t handle, const uint8_t* data, std::size_t size,
                                 uint32_t* written) {
    *written = 0;
    std::size_t done = 0;
    // One write call for the caller; as many frames as the data needs for the link.
    do {
        std::size_t chunk = std::min<std::size_t>(size - done, kMaxDataChunk);
        GLIMMORA_CALL(Op::kWriteFile,
                      Request(Op::kWriteFile).U32(handle).Blob(data + done, chunk).Take());
        uint32_t n = r.U32();
        if (!r.Finished() || n > chunk) return Broken(err::kInvalidData);
        done += n;
        *written = static_cast<uint32_t>(done);
        if (remote_error != 0) return remote_error;
        if (n < chunk) break;
    } while (done < size);
    return 0;
}

uint32_t RemoteClient::ReadFile(uint32_t handle, uint8_t* buffer, uint32_t size, uint32_t* read) {
    *read = 0;
    uint32_t want = std::min(size, kMaxDataChunk);
    GLIMMORA_CALL(Op::kReadFile, Request(Op::kReadFile).U32(handle).U32(want).Take());
    std::vector<uint8_t> data = r.Blob(want);
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0 && !data.empty()) {
        std::memcpy(buffer, data.data(), data.size());
        *read = static_cast<uint32_t>(data.size());
    }
    return remote_error;
}

uint32_t RemoteClient::CloseHandle(uint32_t handle) {
    GLIMMORA_CALL(Op::kCloseHandle, Request(Op::kCloseHandle).U32(handle).Take());
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

uint32_t RemoteClient::MakeDirectory(const std::u16string& path) {
    GLIMMORA_CALL(Op::kCreateDirectory, Request(Op::kCreateDirectory).Str(path).Take());
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

uint32_t RemoteClient::RemoveFile(const std::u16string& path) {
    GLIMMORA_CALL(Op::kDeleteFile, Request(Op::kDeleteFile).Str(path).Take());
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

uint32_t RemoteClient::OpenKey(uint32_t key, const std::u16string& subkey, uint32_t* result) {
    GLIMMORA_CALL(Op::kRegOpenKey, Request(Op::kRegOpenKey).U32(key).Str(subkey).Take());
    uint32_t k = r.U32();
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0) *result = k;
    return remote_error;
}

uint32_t RemoteClient::CreateKey(uint32_t key, const std::u16string& subkey, uint32_t* result,
                                 uint32_t* disposition) {
    GLIMMORA_CALL(Op::kRegCreateKey, Request(Op::kRegCreateKey).U32(key).Str(subkey).Take());
    uint32_t k = r.U32();
    uint32_t d = r.U32();
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0) {
        *result = k;
        if (disposition) *disposition = d;
    }
    return remote_error;
}

uint32_t RemoteClient::SetValue(uint32_t key, const std::u16string& name, uint32_t type,
                                const uint8_t* data, uint32_t size) {
    if (size > kMaxRegistryValue) return err::kInvalidParameter;
    if (size > 0 && data == nullptr) return err::kInvalidParameter;
    GLIMMORA_CALL(Op::kRegSetValue,
                  Request(Op::kRegSetValue).U32(key).Str(name).U32(type).Blob(data, size).Take());
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

uint32_t RemoteClient::QueryValue(uint32_t key, const std::u16string& name, uint32_t* type,
                                  uint8_t* data, uint32_t* size) {
    if (data != nullptr && size == nullptr) return err::kInvalidParameter;
    uint32_t capacity = size ? *size : 0;
    GLIMMORA_CALL(Op::kRegQueryValue, Request(Op::kRegQueryValue)
                                          .U32(key)
                                          .Str(name)
                                          .U8(data != nullptr ? 1 : 0)
                                          .U32(capacity)
                                          .Take());
    uint32_t value_type = r.U32();
    uint32_t needed = r.U32();
    std::vector<uint8_t> bytes = r.Blob(data != nullptr ? capacity : 0);
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error != 0 && remote_error != err::kMoreData) return remote_error;
    if (remote_error == 0 && data != nullptr && bytes.size() != needed)
        return Broken(err::kInvalidData);
    if (type) *type = value_type;
    if (size) *size = needed;
    if (remote_error == 0 && data != nullptr && !bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    return remote_error;
}

uint32_t RemoteClient::CloseKey(uint32_t key) {
    GLIMMORA_CALL(Op::kRegCloseKey, Request(Op::kRegCloseKey).U32(key).Take());
    if (!r.Finished()) return Broken(err::kInvalidData);
    return remote_error;
}

// Both path queries answer with one string; an error reply may omit it.
uint32_t RemoteClient::CallForPath(Op op, const std::vector<uint8_t>& request,
                                   std::u16string* path) {
    GLIMMORA_CALL(op, request);
    *path = r.Str();
    if (remote_error != 0) return remote_error;
    if (!r.Finished()) return Broken(err::kInvalidData);
    return 0;
}

uint32_t RemoteClient::SpecialFolder(int32_t csidl, uint32_t capacity, void* buffer,
                                     uint32_t* error) {
    if (buffer == nullptr || capacity == 0) {
        *error = err::kInvalidParameter;
        return 0;
    }
    std::u16string path;
    *error = CallForPath(Op::kSpecialFolder, Request(Op::kSpecialFolder).I32(csidl).Take(), &path);
    if (*error != 0) return 0;
    if (path.size() + 1 > capacity) {
        *error = err::kInsufficientBuffer;
        return 0;
    }
    CopyUnits(path, buffer);
    return static_cast<uint32_t>(path.size());
}

uint32_t RemoteClient::TempPath(uint32_t capacity, void* buffer, uint32_t* error) {
    std::u16string path;
    *error = CallForPath(Op::kTempPath, Request(Op::kTempPath).Take(), &path);
    if (*error != 0) return 0;
    if (buffer == nullptr || path.size() + 1 > capacity)
        return static_cast<uint32_t>(path.size() + 1);
    CopyUnits(path, buffer);
    return static_cast<uint32_t>(path.size());
}

uint32_t RemoteClient::SystemMetrics(int32_t index, int32_t* value) {
    GLIMMORA_CALL(Op::kSystemMetrics, Request(Op::kSystemMetrics).I32(index).Take());
    int32_t v = r.I32();
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0) *value = v;
    return remote_error;
}

uint32_t RemoteClient::StartProcess(const std::u16string* application,
                                    const std::u16string* command_line, ProcessStarted* started) {
    static const std::u16string kNone;
    GLIMMORA_CALL(Op::kCreateProcess, Request(Op::kCreateProcess)
                                          .U8(application ? 1 : 0)
                                          .Str(application ? *application : kNone)
                                          .U8(command_line ? 1 : 0)
                                          .Str(command_line ? *command_line : kNone)
                                          .Take());
    ProcessStarted s;
    s.process_handle = r.U32();
    s.thread_handle = r.U32();
    s.process_id = r.U32();
    s.thread_id = r.U32();
    if (!r.Finished()) return Broken(err::kInvalidData);
    if (remote_error == 0) *started = s;
    return remote_error;
}

#undef GLIMMORA_CALL

}  // namespace glimmora::remote
