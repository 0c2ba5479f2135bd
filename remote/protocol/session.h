// One link, seen from the agent: turns each request body into a reply body. Nothing is done
// on the handheld before the peer has proved it holds the pairing secret.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "remote/protocol/handheld_ops.h"

namespace glimmora::remote {

struct SessionReply {
    std::vector<uint8_t> body;  // empty: send nothing
    bool close_link = false;
    std::string problem;  // set when the request was refused or malformed; the agent logs it
};

class AgentSession {
  public:
    AgentSession(HandheldOps& ops, std::string secret) : ops_(ops), secret_(std::move(secret)) {}

    SessionReply Handle(const uint8_t* body, std::size_t size);
    bool authenticated() const { return authenticated_; }

  private:
    SessionReply Hello(uint16_t op, const uint8_t* body, std::size_t size);

    HandheldOps& ops_;
    std::string secret_;
    bool authenticated_ = false;
};

// Compares without stopping at the first difference, so the time taken tells an attacker
// nothing about how much of a guess was right.
bool SecretsEqual(const std::string& a, const std::string& b);

// The secret as stored in its file or variable: surrounding white space removed. Returns an
// empty string when what is left is too short, too long or not printable ASCII.
std::string NormalizeSecret(const std::string& raw);

}  // namespace glimmora::remote
