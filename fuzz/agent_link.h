// The handheld agent's side of one link, without sockets: bytes arrive in pieces, frames are
// cut from them as the agent's receive loop cuts them, and each frame is handled by the
// session against an in-memory handheld.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "remote/protocol/client.h"
#include "remote/protocol/session.h"
#include "tests/remote/fake_handheld.h"

namespace glimmora::fuzz {

// The agent's secret in every fuzzed link; the seeds pair with it.
inline const std::string kLinkSecret = "fuzzing-pairing-secret-0123456789";
// The agent's frame limit until its peer has paired (the agent's own constant, repeated:
// it is private to the Win32 server loop).
inline constexpr std::uint32_t kGreetingBodyLimit = 1024;

// A desktop talking to the session directly: each request body is handled at once. The seeds
// are recorded through it, and the paired target pairs through it.
class DirectTransport : public remote::Transport {
  public:
    explicit DirectTransport(remote::AgentSession& session) : session_(session) {}
    std::uint32_t Exchange(const std::vector<std::uint8_t>& request,
                           std::vector<std::uint8_t>* reply) override;
    std::vector<std::vector<std::uint8_t>> requests;  // every request body sent, in order

  private:
    remote::AgentSession& session_;
};

// Serves `stream` as the agent serves a connection's bytes, handing them to the frame
// reader `piece` bytes at a time (all at once for 0). Aborts when a rule of the link breaks:
// the handheld touched before pairing, or a reply that does not answer its request.
void ServeStream(remote::AgentSession& session, remote::testing::FakeHandheld& handheld,
                 const std::uint8_t* stream, std::size_t size, std::size_t piece);

}  // namespace glimmora::fuzz
