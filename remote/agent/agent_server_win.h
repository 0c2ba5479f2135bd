// Accepts links on one listening socket and serves them one at a time: a desktop opens a
// link per picture and never needs two at once, and serving one at a time keeps the
// handheld's state simple.
#pragma once

#include <string>

#include "remote/agent/handheld_ops_win.h"
#include "remote/net/socket_win.h"

namespace glimmora::remote {

struct AgentOptions {
    std::string bind_address = "127.0.0.1";
    uint16_t port = 47931;
    std::wstring root;
    std::wstring port_file;  // where the bound port is written once listening
    std::string secret;
    DWORD hello_timeout_ms = 3000;  // a stranger that says nothing is dropped quickly
    DWORD idle_timeout_ms = 30000;  // a paired link that goes quiet this long is dropped
    DWORD receive_delay_ms = 0;     // slow-cradle emulation, see FramedSocket
};

class AgentServer {
  public:
    AgentServer(const AgentOptions& options, WinHandheldOps& ops) : options_(options), ops_(ops) {}

    // Binds and listens; returns 0 or a Winsock error.
    uint32_t Listen();
    // Serves links until the process ends.
    void Run();

  private:
    void Serve(UniqueSocket socket, const std::string& peer);

    AgentOptions options_;
    WinHandheldOps& ops_;
    UniqueSocket listener_;
};

// One line on standard error, with a time stamp; the agent's whole log.
void Log(const std::string& line);

}  // namespace glimmora::remote
