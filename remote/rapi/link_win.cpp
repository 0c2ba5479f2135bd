#include "remote/rapi/link_win.h"

#include <algorithm>

#include "remote/protocol/link_numbers.h"
#include "remote/protocol/session.h"
#include "remote/rapi/rapi_api_win.h"

namespace glimmora::remote {
namespace {

// A call's reply is due within this, plus a millisecond per KiB sent (a 1 KiB/ms floor for
// the link), so a large write on a slow link is not cut short but a dead agent is noticed.
constexpr DWORD kCallTimeoutMs = 4000;

bool Env(const wchar_t* name, std::wstring* value) {
    wchar_t buffer[1024];
    DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    if (n == 0 || n >= 1024) return false;
    value->assign(buffer, n);
    return true;
}

bool ReadSmallFile(const std::wstring& path, std::string* text) {
    UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    char buffer[1024];
    DWORD n = 0;
    if (!::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr)) return false;
    text->assign(buffer, n);
    return true;
}

}  // namespace

LinkConfig ReadLinkConfig(HMODULE self) {
    LinkConfig c;
    c.port = rapi::kDefaultPort;
    std::wstring value;
    if (Env(L"GLIMMORA_RAPI_HOST", &value)) {
        c.host = Narrow(value);
        // The agent listens on loopback only, and the greeting carries the pairing secret in
        // clear text: it is never sent anywhere else.
        unsigned long address = ::inet_addr(c.host.c_str());
        if (address == INADDR_NONE || (ntohl(address) >> 24) != 127) {
            c.error = ERROR_INVALID_PARAMETER;
            c.problem = "GLIMMORA_RAPI_HOST is not a numeric loopback address: " + c.host;
            return c;
        }
    }
    if (Env(L"GLIMMORA_RAPI_PORT", &value)) {
        wchar_t* end = nullptr;
        unsigned long port = std::wcstoul(value.c_str(), &end, 10);
        if (*end != L'\0' || port == 0 || port > 65535) {
            c.error = ERROR_INVALID_PARAMETER;
            c.problem = "GLIMMORA_RAPI_PORT is not a port number: " + Narrow(value);
            return c;
        }
        c.port = static_cast<uint16_t>(port);
    }
    std::string raw;
    std::string source;
    if (Env(L"GLIMMORA_RAPI_SECRET", &value)) {
        raw = Narrow(value);
        source = "GLIMMORA_RAPI_SECRET";
    } else {
        std::wstring path;
        if (Env(L"GLIMMORA_RAPI_SECRET_FILE", &value)) {
            path = value;
        } else {
            wchar_t module[MAX_PATH];
            DWORD n = ::GetModuleFileNameW(self, module, MAX_PATH);
            path.assign(module, n);
            path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"rapi.secret";
        }
        source = Narrow(path);
        if (!ReadSmallFile(path, &raw)) {
            c.error = ERROR_ACCESS_DENIED;
            c.problem = "no pairing secret: cannot read " + source;
            return c;
        }
    }
    c.secret = NormalizeSecret(raw);
    if (c.secret.empty()) {
        c.error = ERROR_ACCESS_DENIED;
        c.problem =
            "the pairing secret from " + source + " is unusable (16 to 256 printable characters)";
    }
    return c;
}

uint32_t SocketTransport::Exchange(const std::vector<uint8_t>& request,
                                   std::vector<uint8_t>* reply) {
    DWORD ms = kCallTimeoutMs + static_cast<DWORD>(request.size() / 1024);
    if (cap_ != nullptr) ms = std::min(ms, cap_->Remaining());
    Deadline deadline(ms);
    if (uint32_t e = socket_.Send(request, deadline, &cancel_)) return e;
    return socket_.Receive(reply, deadline, &cancel_);
}

uint32_t Link::Connect(const LinkConfig& config) {
    if (config.error != 0) return config.error;
    Deadline deadline(kConnectTimeoutMs);
    UniqueSocket s;
    if (uint32_t e = ConnectWithin(config.host, config.port, deadline, &cancel_, &s)) return e;
    socket_ = FramedSocket(std::move(s));
    // The greeting shares the connection's deadline rather than having a call's own.
    transport_.set_cap(&deadline);
    uint32_t e = client_.Hello(config.secret);
    transport_.set_cap(nullptr);
    return e;
}

}  // namespace glimmora::remote
