// The handheld agent: runs inside the emulated handheld and performs the desktop's remote
// calls there. See --help for its command line.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "remote/agent/agent_server_win.h"
#include "remote/protocol/session.h"

namespace {

using namespace glimmora::remote;

const char kUsage[] =
    "usage: handheld-agent --secret-file FILE [--port N] [--bind ADDRESS] [--root FOLDER]\n"
    "                      [--port-file FILE] [--idle-timeout-ms N] [--hello-timeout-ms N]\n"
    "                      [--receive-delay-ms N] [--card-file FILE]\n"
    "  --secret-file   file holding the pairing secret (16 to 256 printable characters)\n"
    "  --port          TCP port to listen on (default 47931; 0 picks a free one)\n"
    "  --bind          loopback address (127.x.x.x) to listen on (default 127.0.0.1)\n"
    "  --root          host folder that stands for the handheld's \\ (default C:\\)\n"
    "  --port-file     write the port actually bound to this file once listening\n"
    "  --idle-timeout-ms    drop a paired link quiet this long (default 30000)\n"
    "  --hello-timeout-ms   drop a new link that has not paired within this (default 3000)\n"
    "  --receive-delay-ms   pause after every 64 KiB received, to emulate a slow cradle\n"
    "  --card-file     the storage card's state, read before every write: \"free BYTES\" (a\n"
    "                  write beyond them stops part way, disk full), \"slow MS\" (a pause in\n"
    "                  the middle of every write); no file: room and speed to spare\n";

bool ParseNumber(const wchar_t* text, unsigned long max, unsigned long* out) {
    if (text == nullptr || *text == L'\0') return false;
    wchar_t* end = nullptr;
    errno = 0;
    unsigned long v = std::wcstoul(text, &end, 10);
    if (errno != 0 || *end != L'\0' || v > max || text[0] == L'-') return false;
    *out = v;
    return true;
}

bool ReadSecretFile(const std::wstring& path, std::string* secret) {
    glimmora::UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    char buffer[1024];
    DWORD n = 0;
    if (!::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr)) return false;
    *secret = NormalizeSecret(std::string(buffer, n));
    return !secret->empty();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "handheld-agent: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr) return Fail("cannot read the command line");

    AgentOptions options;
    std::wstring secret_file;
    std::wstring card_file;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long n = 0;
        if (arg == L"--help" || arg == L"-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (value == nullptr) return Fail("option " + Narrow(arg) + " needs a value\n" + kUsage);
        ++i;
        if (arg == L"--secret-file") {
            secret_file = value;
        } else if (arg == L"--port") {
            if (!ParseNumber(value, 65535, &n))
                return Fail("--port: not a port number: " + Narrow(value));
            options.port = static_cast<uint16_t>(n);
        } else if (arg == L"--bind") {
            options.bind_address = Narrow(value);
        } else if (arg == L"--root") {
            options.root = value;
        } else if (arg == L"--card-file") {
            card_file = value;
        } else if (arg == L"--port-file") {
            options.port_file = value;
        } else if (arg == L"--idle-timeout-ms" || arg == L"--hello-timeout-ms" ||
                   arg == L"--receive-delay-ms") {
            if (!ParseNumber(value, 3600000, &n) || (n == 0 && arg != L"--receive-delay-ms")) {
                return Fail(Narrow(arg) + ": not a number of milliseconds: " + Narrow(value));
            }
            (arg == L"--idle-timeout-ms"    ? options.idle_timeout_ms
             : arg == L"--hello-timeout-ms" ? options.hello_timeout_ms
                                            : options.receive_delay_ms) = n;
        } else {
            return Fail("unknown option " + Narrow(arg) + "\n" + kUsage);
        }
    }
    ::LocalFree(argv);

    if (secret_file.empty())
        return Fail("--secret-file is required: the agent never runs unpaired\n" +
                    std::string(kUsage));
    if (!ReadSecretFile(secret_file, &options.secret)) {
        return Fail("no usable pairing secret in " + Narrow(secret_file) +
                    " (16 to 256 printable characters, no blanks)");
    }
    if (options.root.empty()) options.root = L"C:";
    while (options.root.size() > 1 &&
           (options.root.back() == L'\\' || options.root.back() == L'/')) {
        options.root.pop_back();
    }
    DWORD attributes = ::GetFileAttributesW(options.root.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Fail("--root: no such folder: " + Narrow(options.root));
    }

    // A Wine process's first window-system call connects to the display and may wait seconds
    // for the prefix's desktop process; made here, before the port is announced, it never
    // makes a screen-metrics request outlast the desktop's call timeout.
    ::GetSystemMetrics(SM_CXSCREEN);

    WinsockSession winsock;
    if (!winsock.ok()) return Fail("Winsock did not start");
    WinHandheldOps ops(options.root);
    ops.PrepareRoot();
    ops.set_card_file(card_file);
    AgentServer server(options, ops);
    if (uint32_t e = server.Listen()) {
        return Fail("cannot listen on " + options.bind_address + ":" +
                    std::to_string(options.port) + " (error " + std::to_string(e) + ")");
    }
    server.Run();
    return 0;
}
