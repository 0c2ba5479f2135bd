#include "remote/agent/agent_server_win.h"

#include <cstdio>

#include "remote/protocol/session.h"

namespace glimmora::remote {
namespace {

constexpr uint32_t kMaxGreetingBody = 1024;

}  // namespace

void Log(const std::string& line) {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    std::fprintf(stderr, "%02u:%02u:%02u.%03u handheld-agent: %s\n", t.wHour, t.wMinute, t.wSecond,
                 t.wMilliseconds, line.c_str());
    std::fflush(stderr);
}

uint32_t AgentServer::Listen() {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(options_.port);
    addr.sin_addr.s_addr = ::inet_addr(options_.bind_address.c_str());
    if (addr.sin_addr.s_addr == INADDR_NONE) return WSAEADDRNOTAVAIL;
    // The pairing secret travels in clear text and the agent writes files, registry values
    // and starts programs for whoever holds it: nothing beyond this machine may reach it.
    if ((ntohl(addr.sin_addr.s_addr) >> 24) != 127) {
        Log(options_.bind_address +
            " is not a loopback address; the agent listens on loopback only");
        return WSAEADDRNOTAVAIL;
    }
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) return static_cast<uint32_t>(::WSAGetLastError());
    // A restarted handheld must get its port back while the last link of the previous agent
    // lingers in TIME_WAIT; under Wine this is the host's reuse rule, which never lets two
    // live listeners share a port.
    BOOL reuse = TRUE;
    ::setsockopt(s.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
                 sizeof reuse);
    if (::bind(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        return static_cast<uint32_t>(::WSAGetLastError());
    }
    if (::listen(s.get(), 4) != 0) return static_cast<uint32_t>(::WSAGetLastError());
    sockaddr_in bound{};
    int len = sizeof bound;
    ::getsockname(s.get(), reinterpret_cast<sockaddr*>(&bound), &len);
    options_.port = ntohs(bound.sin_port);
    listener_ = std::move(s);
    Log("listening on " + options_.bind_address + ":" + std::to_string(options_.port));
    if (!options_.port_file.empty()) {
        // Written to a temporary name and renamed, so a reader never sees half a number.
        std::wstring tmp = options_.port_file + L".tmp";
        UniqueFile f(::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string text = std::to_string(options_.port) + "\n";
        DWORD n = 0;
        bool ok =
            f && ::WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        f.reset();
        if (!ok ||
            !::MoveFileExW(tmp.c_str(), options_.port_file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            Log("cannot write the port file " + Narrow(options_.port_file));
            return static_cast<uint32_t>(::GetLastError());
        }
    }
    return 0;
}

void AgentServer::Run() {
    for (;;) {
        sockaddr_in peer{};
        int len = sizeof peer;
        UniqueSocket s(::accept(listener_.get(), reinterpret_cast<sockaddr*>(&peer), &len));
        if (!s) {
            Log("accept failed: " + std::to_string(::WSAGetLastError()));
            ::Sleep(100);  // a persistent failure must not turn into a busy loop
            continue;
        }
        std::string who =
            std::string(::inet_ntoa(peer.sin_addr)) + ":" + std::to_string(ntohs(peer.sin_port));
        Serve(std::move(s), who);
    }
}

void AgentServer::Serve(UniqueSocket socket, const std::string& peer) {
    Log("link from " + peer);
    FramedSocket link(std::move(socket));
    link.set_receive_delay(options_.receive_delay_ms);
    AgentSession session(ops_, options_.secret);
    // Until the peer has paired, a greeting is all it may send: nothing large is buffered for
    // a stranger.
    link.set_max_body(kMaxGreetingBody);
    int requests = 0;
    for (;;) {
        if (session.authenticated()) link.set_max_body(kMaxFrameBody);
        std::vector<uint8_t> body;
        DWORD wait = session.authenticated() ? options_.idle_timeout_ms : options_.hello_timeout_ms;
        uint32_t e = link.Receive(&body, Deadline(wait), nullptr);
        if (e == WSAETIMEDOUT) {
            Log(peer + ": quiet for " + std::to_string(wait) + " ms; link dropped");
            break;
        }
        if (e == WSAEMSGSIZE) {
            Log(peer + ": frame longer than allowed; link closed");
            break;
        }
        if (e != 0) {
            if (link.cut_mid_frame()) Log(peer + ": link ended in the middle of a request");
            break;
        }
        ++requests;
        SessionReply reply = session.Handle(body.data(), body.size());
        if (!reply.problem.empty()) Log(peer + ": " + reply.problem);
        if (!reply.body.empty()) {
            uint32_t s = link.Send(reply.body, Deadline(options_.idle_timeout_ms), nullptr);
            if (s != 0) {
                Log(peer + ": reply not delivered (" + std::to_string(s) + "); link closed");
                break;
            }
        }
        if (reply.close_link) break;
    }
    // Nothing the desktop opened outlives its link.
    ops_.CloseAll();
    Log("link from " + peer + " ended after " + std::to_string(requests) + " request(s)");
}

}  // namespace glimmora::remote
