// Runs a real handheld agent for a test: a child process started from the build's bin folder,
// listening on a free loopback port, with a temporary folder as the handheld's root. Each
// test gets its own root; all share the build's one Wine prefix.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_win.h"

namespace glimmora::remote::testing {

std::wstring BinDir();
// A fresh empty folder under the temporary folder; RemoveTree deletes it with its contents.
std::wstring MakeTempDir(const wchar_t* tag);
void RemoveTree(const std::wstring& dir);
std::vector<uint8_t> ReadHostFile(const std::wstring& path);
bool WriteHostFile(const std::wstring& path, const std::string& text);

class AgentProcess {
  public:
    ~AgentProcess() { Kill(); }

    // Starts the agent on port (0: a free one) and waits until it listens. Its log goes to
    // dir\agent.log.
    bool Start(const std::wstring& dir, const std::string& secret, unsigned short port = 0,
               const std::wstring& extra_args = L"");
    // Ends it at once, as a crash or a pulled cable would.
    void Kill();
    bool Alive() const;
    unsigned short port() const { return port_; }
    const std::wstring& root() const { return root_; }
    std::string Log() const;

  private:
    UniqueHandle process_;
    unsigned short port_ = 0;
    std::wstring dir_;
    std::wstring root_;
};

}  // namespace glimmora::remote::testing
