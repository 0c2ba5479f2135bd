// Winsock glue shared by the stand-in DLL and the agent: an owner for sockets, and framed
// sends and receives that never wait longer than their deadline and give up early when the
// caller cancels (the desktop may end a link from another thread mid-call).
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/unique_win.h"
#include "remote/protocol/wire.h"

namespace glimmora::remote {

namespace detail {
// Runs in destructors, where a failure can be neither reported nor undone: the result is let go.
inline void CloseSocketHandle(SOCKET s) { ::closesocket(s); }
}  // namespace detail
using UniqueSocket =
    UniqueAny<SOCKET, detail::CloseSocketHandle, static_cast<std::intptr_t>(INVALID_SOCKET)>;

// WSAStartup for as long as the object lives.
class WinsockSession {
  public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool ok() const { return ok_; }

  private:
    bool ok_ = false;
};

// Milliseconds left until a point in time, measured with the tick counter (wrap-safe).
class Deadline {
  public:
    explicit Deadline(DWORD ms) : start_(::GetTickCount()), ms_(ms) {}
    DWORD Remaining() const {
        DWORD spent = ::GetTickCount() - start_;
        return spent >= ms_ ? 0 : ms_ - spent;
    }

  private:
    DWORD start_;
    DWORD ms_;
};

// Connects to host:port (numeric IPv4) without blocking longer than the deadline.
// Returns 0 or a Winsock error.
uint32_t ConnectWithin(const std::string& host, uint16_t port, Deadline deadline,
                       const std::atomic<bool>* cancel, UniqueSocket* out);

// A connected, non-blocking socket that carries whole frames.
class FramedSocket {
  public:
    FramedSocket() = default;
    explicit FramedSocket(UniqueSocket socket);

    // Both return 0, WSAETIMEDOUT, WSAECONNRESET for a closed or reset link, WSAEMSGSIZE for
    // an oversized frame (after which the link is unusable), or another Winsock error.
    uint32_t Send(const std::vector<uint8_t>& body, Deadline deadline,
                  const std::atomic<bool>* cancel);
    uint32_t Receive(std::vector<uint8_t>* body, Deadline deadline,
                     const std::atomic<bool>* cancel);

    // Frames longer than this are refused from now on (the stream is then unusable).
    void set_max_body(uint32_t max_body) { decoder_.set_max_body(max_body); }
    // Emulates a slow cradle: pause this long after every 64 KiB received.
    void set_receive_delay(DWORD ms) { receive_delay_ms_ = ms; }
    SOCKET get() const { return socket_.get(); }
    void Close() { socket_.reset(); }
    // True when the peer closed in the middle of a frame rather than between frames.
    bool cut_mid_frame() const { return cut_mid_frame_; }

  private:
    // Waits until the socket is readable (or writable), in short slices so cancel is noticed.
    uint32_t WaitReady(bool for_write, Deadline deadline, const std::atomic<bool>* cancel);

    UniqueSocket socket_;
    FrameDecoder decoder_;
    std::vector<uint8_t> pending_;  // bytes received after the end of the last frame
    std::size_t pending_pos_ = 0;
    DWORD receive_delay_ms_ = 0;
    std::size_t received_since_delay_ = 0;
    bool cut_mid_frame_ = false;
};

// UTF-8 for log lines.
std::string Narrow(const std::wstring& s);

}  // namespace glimmora::remote
