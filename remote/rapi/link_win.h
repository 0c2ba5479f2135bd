// One link of the stand-in remote API, from CeRapiInitEx to CeRapiUninit: where the handheld
// is, the socket to it and the calls made over it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "remote/net/socket_win.h"
#include "remote/protocol/client.h"

namespace glimmora::remote {

struct LinkConfig {
    std::string host = "127.0.0.1";
    uint16_t port = 0;
    std::string secret;
    uint32_t error = 0;   // why the configuration cannot be used, 0 when it can
    std::string problem;  // the same in words, for the debugger output
};

// Reads GLIMMORA_RAPI_HOST, GLIMMORA_RAPI_PORT, GLIMMORA_RAPI_SECRET or
// GLIMMORA_RAPI_SECRET_FILE, else the file "rapi.secret" beside this module.
LinkConfig ReadLinkConfig(HMODULE self);

class SocketTransport : public Transport {
  public:
    SocketTransport(FramedSocket& socket, const std::atomic<bool>& cancel)
        : socket_(socket), cancel_(cancel) {}
    uint32_t Exchange(const std::vector<uint8_t>& request, std::vector<uint8_t>* reply) override;
    // While set, no exchange waits past this deadline.
    void set_cap(const Deadline* cap) { cap_ = cap; }

  private:
    const Deadline* cap_ = nullptr;
    FramedSocket& socket_;
    const std::atomic<bool>& cancel_;
};

class Link {
  public:
    Link() : transport_(socket_, cancel_), client_(transport_) {}

    // Connects and pairs within the time the desktop waits for a link; returns 0 or an error.
    uint32_t Connect(const LinkConfig& config);

    // Ends waits in progress promptly; the link is unusable afterwards.
    void Cancel() { cancel_ = true; }
    bool cancelled() const { return cancel_; }
    void MarkUp() { up_ = true; }
    bool up() const { return up_ && !cancel_; }

    // Calls are made one at a time; Close takes the same lock, so it waits for a call in
    // progress (which a Cancel has already cut short).
    std::mutex& call_mutex() { return call_mutex_; }
    RemoteClient& client() { return client_; }
    void Close() { socket_.Close(); }

  private:
    std::atomic<bool> cancel_{false};
    std::atomic<bool> up_{false};
    std::mutex call_mutex_;
    FramedSocket socket_;
    SocketTransport transport_;
    RemoteClient client_;
};

// The desktop waits 5000 ms for a link; connecting and pairing give up before that so the
// outcome is always reported while the caller still listens.
constexpr DWORD kConnectTimeoutMs = 4000;

}  // namespace glimmora::remote
