#include "remote/protocol/session.h"

#include <algorithm>

#include "remote/protocol/link_numbers.h"
#include "remote/protocol/wire.h"

namespace glimmora::remote {
namespace {

Writer ReplyHeader(uint16_t op, uint32_t error) {
    Writer w;
    w.U16(static_cast<uint16_t>(op | kReplyBit)).U32(error);
    return w;
}

SessionReply Malformed(uint16_t op, const char* what) {
    SessionReply r;
    r.body = ReplyHeader(op, err::kInvalidData).Take();
    r.problem = std::string("malformed request (") + what + ")";
    return r;
}

// The paired link's operations, one handler each: read the request's fields after the
// operation code, refuse a request that does not end where its fields do, answer.
SessionReply Answer(std::vector<uint8_t> body) {
    SessionReply reply;
    reply.body = std::move(body);
    return reply;
}

SessionReply OnCreateFile(HandheldOps& ops, uint16_t op, Reader& r) {
    std::u16string path = r.Str();
    uint32_t access = r.U32(), share = r.U32(), creation = r.U32(), flags = r.U32();
    if (!r.Finished()) return Malformed(op, "create file");
    uint32_t handle = 0;
    uint32_t e = ops.MakeFile(path, access, share, creation, flags, &handle);
    return Answer(ReplyHeader(op, e).U32(e == 0 ? handle : 0).Take());
}

SessionReply OnWriteFile(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t handle = r.U32();
    std::vector<uint8_t> data = r.Blob(kMaxDataChunk);
    if (!r.Finished()) return Malformed(op, "write file");
    uint32_t written = 0;
    uint32_t e = ops.WriteFile(handle, data, &written);
    return Answer(ReplyHeader(op, e)
                      .U32(std::min<uint32_t>(written, static_cast<uint32_t>(data.size())))
                      .Take());
}

SessionReply OnReadFile(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t handle = r.U32();
    uint32_t max_bytes = r.U32();
    if (!r.Finished()) return Malformed(op, "read file");
    std::vector<uint8_t> data;
    uint32_t e = ops.ReadFile(handle, std::min(max_bytes, kMaxDataChunk), &data);
    if (e != 0) data.clear();
    if (data.size() > std::min(max_bytes, kMaxDataChunk))
        data.resize(std::min(max_bytes, kMaxDataChunk));
    return Answer(ReplyHeader(op, e).Blob(data).Take());
}

SessionReply OnCloseHandle(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t handle = r.U32();
    if (!r.Finished()) return Malformed(op, "close handle");
    return Answer(ReplyHeader(op, ops.CloseHandle(handle)).Take());
}

SessionReply OnPathOperation(HandheldOps& ops, uint16_t op, Reader& r) {
    std::u16string path = r.Str();
    if (!r.Finished()) return Malformed(op, "path operation");
    uint32_t e = static_cast<Op>(op) == Op::kCreateDirectory ? ops.MakeDirectory(path)
                                                             : ops.RemoveFile(path);
    return Answer(ReplyHeader(op, e).Take());
}

SessionReply OnRegOpenKey(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t key = r.U32();
    std::u16string subkey = r.Str();
    if (!r.Finished()) return Malformed(op, "open key");
    uint32_t result = 0;
    uint32_t e = ops.OpenKey(key, subkey, &result);
    return Answer(ReplyHeader(op, e).U32(e == 0 ? result : 0).Take());
}

SessionReply OnRegCreateKey(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t key = r.U32();
    std::u16string subkey = r.Str();
    if (!r.Finished()) return Malformed(op, "create key");
    uint32_t result = 0, disposition = 0;
    uint32_t e = ops.CreateKey(key, subkey, &result, &disposition);
    return Answer(ReplyHeader(op, e).U32(e == 0 ? result : 0).U32(e == 0 ? disposition : 0).Take());
}

SessionReply OnRegSetValue(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t key = r.U32();
    std::u16string name = r.Str();
    uint32_t type = r.U32();
    std::vector<uint8_t> data = r.Blob(kMaxRegistryValue);
    if (!r.Finished()) return Malformed(op, "set value");
    return Answer(ReplyHeader(op, ops.SetValue(key, name, type, data)).Take());
}

SessionReply OnRegQueryValue(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t key = r.U32();
    std::u16string name = r.Str();
    uint8_t want_data = r.U8();
    uint32_t capacity = r.U32();
    if (!r.Finished() || want_data > 1) return Malformed(op, "query value");
    RegistryValue value;
    uint32_t e = ops.QueryValue(key, name, &value);
    uint32_t type = 0, needed = 0;
    std::vector<uint8_t> data;
    if (e == 0 || e == err::kMoreData) {
        type = value.type;
        needed = static_cast<uint32_t>(value.data.size());
        // The caller's buffer decides, as it does for the local registry: too small a
        // buffer gets the size it needs and no bytes.
        if (want_data && needed > capacity) {
            e = err::kMoreData;
        } else if (e == 0 && want_data) {
            data = std::move(value.data);
        }
    }
    return Answer(ReplyHeader(op, e).U32(type).U32(needed).Blob(data).Take());
}

SessionReply OnRegCloseKey(HandheldOps& ops, uint16_t op, Reader& r) {
    uint32_t key = r.U32();
    if (!r.Finished()) return Malformed(op, "close key");
    return Answer(ReplyHeader(op, ops.CloseKey(key)).Take());
}

SessionReply OnSpecialFolder(HandheldOps& ops, uint16_t op, Reader& r) {
    int32_t csidl = r.I32();
    if (!r.Finished()) return Malformed(op, "special folder");
    std::u16string path;
    uint32_t e = ops.SpecialFolder(csidl, &path);
    if (e != 0) path.clear();
    return Answer(ReplyHeader(op, e).Str(path).Take());
}

SessionReply OnTempPath(HandheldOps& ops, uint16_t op, Reader& r) {
    if (!r.Finished()) return Malformed(op, "temp path");
    return Answer(ReplyHeader(op, err::kSuccess).Str(ops.TempPath()).Take());
}

SessionReply OnSystemMetrics(HandheldOps& ops, uint16_t op, Reader& r) {
    int32_t index = r.I32();
    if (!r.Finished()) return Malformed(op, "system metrics");
    return Answer(ReplyHeader(op, err::kSuccess).I32(ops.SystemMetrics(index)).Take());
}

SessionReply OnCreateProcess(HandheldOps& ops, uint16_t op, Reader& r) {
    uint8_t has_app = r.U8();
    std::u16string app = r.Str();
    uint8_t has_cmd = r.U8();
    std::u16string cmd = r.Str();
    if (!r.Finished() || has_app > 1 || has_cmd > 1) return Malformed(op, "create process");
    ProcessStarted started;
    uint32_t e = ops.StartProcess(has_app ? &app : nullptr, has_cmd ? &cmd : nullptr, &started);
    if (e != 0) started = ProcessStarted{};
    return Answer(ReplyHeader(op, e)
                      .U32(started.process_handle)
                      .U32(started.thread_handle)
                      .U32(started.process_id)
                      .U32(started.thread_id)
                      .Take());
}

SessionReply OnSecondHello(HandheldOps&, uint16_t op, Reader&) {
    SessionReply reply = Answer(ReplyHeader(op, err::kInvalidParameter).Take());
    reply.problem = "second greeting on a paired link";
    return reply;
}

struct OpHandler {
    Op op;
    SessionReply (*handle)(HandheldOps& ops, uint16_t op, Reader& r);
};

constexpr OpHandler kOpHandlers[] = {
    {Op::kCreateFile, OnCreateFile},
    {Op::kWriteFile, OnWriteFile},
    {Op::kReadFile, OnReadFile},
    {Op::kCloseHandle, OnCloseHandle},
    {Op::kCreateDirectory, OnPathOperation},
    {Op::kDeleteFile, OnPathOperation},
    {Op::kRegOpenKey, OnRegOpenKey},
    {Op::kRegCreateKey, OnRegCreateKey},
    {Op::kRegSetValue, OnRegSetValue},
    {Op::kRegQueryValue, OnRegQueryValue},
    {Op::kRegCloseKey, OnRegCloseKey},
    {Op::kSpecialFolder, OnSpecialFolder},
    {Op::kTempPath, OnTempPath},
    {Op::kSystemMetrics, OnSystemMetrics},
    {Op::kCreateProcess, OnCreateProcess},
    {Op::kHello, OnSecondHello},
};

}  // namespace

bool SecretsEqual(const std::string& a, const std::string& b) {
    unsigned diff = a.size() != b.size() ? 1u : 0u;
    std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned>(x ^ y);
    }
    return diff == 0;
}

std::string NormalizeSecret(const std::string& raw) {
    auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t b = 0, e = raw.size();
    while (b < e && is_space(raw[b])) ++b;
    while (e > b && is_space(raw[e - 1])) --e;
    std::string s = raw.substr(b, e - b);
    if (s.size() < kMinSecretLength || s.size() > kMaxSecretLength) return {};
    for (char c : s) {
        if (c < 0x21 || c > 0x7e) return {};
    }
    return s;
}

SessionReply AgentSession::Hello(uint16_t op, const uint8_t* body, std::size_t size) {
    Reader r(body, size);
    r.U16();
    uint32_t magic = r.U32();
    uint32_t version = r.U32();
    std::vector<uint8_t> secret = r.Blob(kMaxSecretLength);
    SessionReply reply;
    if (!r.Finished() || magic != kHelloMagic) {
        reply.close_link = true;
        reply.problem = "not a greeting from the desktop side; link closed";
        return reply;
    }
    if (version != kProtocolVersion) {
        reply.body = ReplyHeader(op, err::kNotSupported).Take();
        reply.close_link = true;
        reply.problem =
            "protocol version " + std::to_string(version) + " not supported; link closed";
        return reply;
    }
    if (secret_.empty() || !SecretsEqual(std::string(secret.begin(), secret.end()), secret_)) {
        reply.body = ReplyHeader(op, err::kAccessDenied).Take();
        reply.close_link = true;
        reply.problem = "wrong pairing secret; link refused";
        return reply;
    }
    authenticated_ = true;
    reply.body = ReplyHeader(op, err::kSuccess).Take();
    return reply;
}

SessionReply AgentSession::Handle(const uint8_t* body, std::size_t size) {
    Reader r(body, size);
    uint16_t op = r.U16();
    if (!r.ok()) {
        SessionReply reply;
        reply.close_link = true;
        reply.problem = "request shorter than its operation code; link closed";
        return reply;
    }
    if (!authenticated_) {
        if (op == static_cast<uint16_t>(Op::kHello)) return Hello(op, body, size);
        SessionReply reply;
        reply.body = ReplyHeader(op, err::kAccessDenied).Take();
        reply.close_link = true;
        reply.problem = "request before pairing; link closed";
        return reply;
    }
    for (const OpHandler& handler : kOpHandlers) {
        if (static_cast<uint16_t>(handler.op) == op) return handler.handle(ops_, op, r);
    }
    SessionReply reply;
    reply.body = ReplyHeader(op, err::kNotSupported).Take();
    reply.problem = "unknown operation " + std::to_string(op);
    return reply;
}

}  // namespace glimmora::remote
