#include "remote/net/socket_win.h"

#include <algorithm>

namespace glimmora::remote {
namespace {

// Cancellation is checked at least this often while a socket wait is in progress.
constexpr DWORD kSliceMs = 50;

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

uint32_t SetNonBlocking(SOCKET s) {
    u_long on = 1;
    return ::ioctlsocket(s, FIONBIO, &on) == 0 ? 0 : static_cast<uint32_t>(::WSAGetLastError());
}

// Waits until the socket can be read (or written), or has failed; *failed tells which. Checks
// for cancellation between slices so that a stop request never waits a whole deadline.
uint32_t WaitSocket(SOCKET s, bool for_write, Deadline deadline, const std::atomic<bool>* cancel,
                    bool* failed) {
    for (;;) {
        if (Cancelled(cancel)) return WSAECONNABORTED;
        DWORD left = deadline.Remaining();
        if (left == 0) return WSAETIMEDOUT;
        fd_set ready, failures;
        FD_ZERO(&ready);
        FD_ZERO(&failures);
        FD_SET(s, &ready);
        FD_SET(s, &failures);
        DWORD slice = std::min(left, kSliceMs);
        timeval tv{static_cast<long>(slice / 1000), static_cast<long>((slice % 1000) * 1000)};
        int n = for_write ? ::select(0, nullptr, &ready, &failures, &tv)
                          : ::select(0, &ready, nullptr, &failures, &tv);
        if (n == SOCKET_ERROR) return static_cast<uint32_t>(::WSAGetLastError());
        if (n > 0) {
            if (failed != nullptr) *failed = FD_ISSET(s, &failures) != 0;
            return 0;
        }
    }
}

}  // namespace

WinsockSession::WinsockSession() {
    WSADATA data;
    ok_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
    if (ok_) ::WSACleanup();
}

uint32_t ConnectWithin(const std::string& host, uint16_t port, Deadline deadline,
                       const std::atomic<bool>* cancel, UniqueSocket* out) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = ::inet_addr(host.c_str());
    if (addr.sin_addr.s_addr == INADDR_NONE && host != "255.255.255.255") return WSAEADDRNOTAVAIL;

    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) return static_cast<uint32_t>(::WSAGetLastError());
    if (uint32_t e = SetNonBlocking(s.get())) return e;
    BOOL nodelay = TRUE;
    ::setsockopt(s.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay),
                 sizeof nodelay);
    if (::connect(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        int e = ::WSAGetLastError();
        if (e != WSAEWOULDBLOCK && e != WSAEINPROGRESS) return static_cast<uint32_t>(e);
        bool failed = false;
        if (uint32_t w = WaitSocket(s.get(), true, deadline, cancel, &failed)) return w;
        int so_error = 0;
        int len = sizeof so_error;
        ::getsockopt(s.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&so_error), &len);
        if (failed || so_error != 0) return so_error ? so_error : WSAECONNREFUSED;
    }
    *out = std::move(s);
    return 0;
}

FramedSocket::FramedSocket(UniqueSocket socket) : socket_(std::move(socket)) {
    SetNonBlocking(socket_.get());
    BOOL nodelay = TRUE;
    ::setsockopt(socket_.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay),
                 sizeof nodelay);
}

uint32_t FramedSocket::WaitReady(bool for_write, Deadline deadline,
                                 const std::atomic<bool>* cancel) {
    return WaitSocket(socket_.get(), for_write, deadline, cancel, nullptr);
}

uint32_t FramedSocket::Send(const std::vector<uint8_t>& body, Deadline deadline,
                            const std::atomic<bool>* cancel) {
    if (!socket_) return WSAENOTSOCK;
    if (body.size() > kMaxFrameBody) return WSAEMSGSIZE;
    std::vector<uint8_t> frame = MakeFrame(body);
    std::size_t sent = 0;
    while (sent < frame.size()) {
        int chunk = static_cast<int>(std::min<std::size_t>(frame.size() - sent, 1 << 20));
        int n = ::send(socket_.get(), reinterpret_cast<const char*>(frame.data() + sent), chunk, 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        int e = ::WSAGetLastError();
        if (e != WSAEWOULDBLOCK) return static_cast<uint32_t>(e);
        if (uint32_t w = WaitReady(true, deadline, cancel)) return w;
    }
    return 0;
}

uint32_t FramedSocket::Receive(std::vector<uint8_t>* body, Deadline deadline,
                               const std::atomic<bool>* cancel) {
    if (!socket_) return WSAENOTSOCK;
    std::vector<uint8_t> buffer(64 * 1024);
    for (;;) {
        // Bytes left over from an earlier read come first.
        while (pending_pos_ < pending_.size()) {
            std::size_t used = 0;
            auto status = decoder_.Feed(pending_.data() + pending_pos_,
                                        pending_.size() - pending_pos_, &used);
            pending_pos_ += used;
            if (status == FrameDecoder::Status::kTooLarge) return WSAEMSGSIZE;
            if (status == FrameDecoder::Status::kFrame) {
                *body = decoder_.TakeFrame();
                return 0;
            }
        }
        pending_.clear();
        pending_pos_ = 0;

        int n = ::recv(socket_.get(), reinterpret_cast<char*>(buffer.data()),
                       static_cast<int>(buffer.size()), 0);
        if (n > 0) {
            pending_.assign(buffer.begin(), buffer.begin() + n);
            if (receive_delay_ms_ > 0) {
                received_since_delay_ += static_cast<std::size_t>(n);
                if (received_since_delay_ >= 64 * 1024) {
                    received_since_delay_ = 0;
                    ::Sleep(receive_delay_ms_);
                }
            }
            continue;
        }
        if (n == 0) {
            cut_mid_frame_ = decoder_.InFrame();
            return WSAECONNRESET;
        }
        int e = ::WSAGetLastError();
        if (e != WSAEWOULDBLOCK) {
            cut_mid_frame_ = decoder_.InFrame();
            return static_cast<uint32_t>(e);
        }
        if (uint32_t w = WaitReady(false, deadline, cancel)) return w;
    }
}

std::string Narrow(const std::wstring& s) {
    if (s.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n,
                              nullptr, nullptr);
    return out;
}

}  // namespace glimmora::remote
