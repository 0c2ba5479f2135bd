// Writes the seed corpus of every fuzz target under the folder given: small pictures of every
// kind the test support makes, the frames of a real conversation with the agent, real command
// lines and handheld paths. Nothing of it is kept in the repository.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/pictures/bitmap24.h"
#include "desktop/pictures/jpeg_encode.h"
#include "fuzz/agent_link.h"
#include "handoff/picture_files.h"
#include "remote/protocol/link_numbers.h"
#include "remote/protocol/wire.h"
#include "tests/support/test_jpeg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace glimmora;

std::string g_root;
int g_written = 0;

void MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

void Seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    MakeFolder(g_root + "/" + target);
    test::WriteFileBytes(g_root + "/" + target + "/" + name, bytes);
    ++g_written;
}

Bytes Prefixed(std::uint8_t first, const Bytes& rest) {
    Bytes out{first};
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

Bytes Utf16(const std::u16string& text) {
    Bytes out;
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

std::u16string FromWide(const std::wstring& text) { return {text.begin(), text.end()}; }

void PictureSeeds() {
    std::vector<std::pair<std::string, Bytes>> pictures;
    struct Size {
        int width, height;
    };
    for (int components : {1, 3, 4}) {
        for (const Size s :
             {Size{1, 1}, Size{16, 16}, Size{24, 16}, Size{9, 200}, Size{300, 7}, Size{330, 250}}) {
            const std::string name = std::to_string(components) + "c-" + std::to_string(s.width) +
                                     "x" + std::to_string(s.height);
            pictures.push_back(
                {name + "-noisy",
                 test::EncodeJpeg(test::NoisyGradient(s.width, s.height, components, 3),
                                  test::kRgb)});
            pictures.push_back(
                {name + "-checkered",
                 test::EncodeJpeg(test::CheckeredGradient(s.width, s.height, components, 2),
                                  test::kBgr)});
        }
    }
    // What the desktop sends, as the handheld receives it.
    desktop::Bitmap24 sent = desktop::MakeBitmap24(40, 30);
    for (std::size_t i = 0; i < sent.pixels.size(); ++i)
        sent.pixels[i] = static_cast<std::uint8_t>(i * 7);
    pictures.push_back({"desktop-sent", desktop::EncodeJpeg(sent)});
    const Bytes small = test::EncodeJpeg(test::CheckeredGradient(16, 16, 3, 1), test::kBgr);
    pictures.push_back({"claims-65500x65500", test::WithAnnouncedSize(small, 65500, 65500)});
    pictures.push_back({"claims-20000x100", test::WithAnnouncedSize(small, 20000, 100)});
    const Bytes whole = test::EncodeJpeg(test::NoisyGradient(64, 48, 3, 9), test::kRgb);
    pictures.push_back({"cut-short", Bytes(whole.begin(), whole.begin() + whole.size() / 2)});

    // Each picture once at every screen, and under a few orientations and fit settings.
    int n = 0;
    for (const auto& [name, jpeg] : pictures) {
        const std::uint8_t choice = static_cast<std::uint8_t>(n++ * 37);
        Seed("load-picture", name, Prefixed(choice, jpeg));
        Seed("fit-picture", name, Prefixed(choice, jpeg));
    }
}

void LinkSeeds() {
    using namespace remote;
    testing::FakeHandheld handheld;
    AgentSession session(handheld, fuzz::kLinkSecret);
    fuzz::DirectTransport transport(session);
    RemoteClient client(transport);
    // A pass of the desktop's session, then every other call once.
    client.Hello(fuzz::kLinkSecret);
    std::uint32_t key = 0, disposition = 0, type = 0, size = 0, handle = 0, done = 0;
    std::uint8_t buffer[64];
    char16_t text[64];
    std::int32_t metric = 0;
    std::uint32_t error = 0;
    client.SystemMetrics(0, &metric);
    client.SystemMetrics(1, &metric);
    client.SpecialFolder(0x05, 64, text, &error);
    client.TempPath(64, text, &error);
    client.OpenKey(kHkeyLocalMachine, u"Software\\Test", &key);
    client.QueryValue(key, u"InstallDir", &type, nullptr, &size);
    client.CreateKey(kHkeyCurrentUser, u"Software\\Test", &key, &disposition);
    const std::uint8_t value[] = {'\\', 0, 'x', 0, 0, 0};
    client.SetValue(key, u"InstallDir", 1, value, sizeof value);
    size = sizeof buffer;
    client.QueryValue(key, u"InstallDir", &type, buffer, &size);
    client.CloseKey(key);
    client.MakeDirectory(u"\\My Documents\\Glimmora");
    client.MakeFile(u"\\My Documents\\Glimmora_001.jpg", 0x40000000u, 0, 2, 0x80, &handle);
    const Bytes picture = test::EncodeJpeg(test::NoisyGradient(8, 8, 3, 1), test::kRgb);
    client.WriteFile(handle, picture.data(), picture.size(), &done);
    client.CloseHandle(handle);
    client.MakeFile(u"\\My Documents\\Glimmora_001.jpg", 0x80000000u, 1, 3, 0x80, &handle);
    client.ReadFile(handle, buffer, sizeof buffer, &done);
    client.CloseHandle(handle);
    const std::u16string program = u"\\Program Files\\Glimmora\\Glimmora.exe";
    const std::u16string arguments =
        FromWide(handoff::ViewerLaunchArguments(L"\\My Documents\\Glimmora_001.jpg", 60, false));
    ProcessStarted started;
    client.StartProcess(&program, &arguments, &started);
    client.StartProcess(nullptr, &arguments, &started);
    client.RemoveFile(u"\\My Documents\\Glimmora_001.jpg");

    const std::vector<Bytes>& requests = transport.requests;
    Bytes conversation, afterPairing;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const Bytes frame = MakeFrame(requests[i]);
        conversation.insert(conversation.end(), frame.begin(), frame.end());
        if (i > 0) {
            afterPairing.insert(afterPairing.end(), frame.begin(), frame.end());
            Seed("agent-paired", "request-" + std::to_string(i), Prefixed(0, frame));
        }
    }
    // Whole, and arriving a byte, a few bytes or a frame header's worth at a time.
    for (std::uint8_t piece : {0, 1, 3, 4, 7, 64}) {
        Seed("agent-stranger", "conversation-" + std::to_string(piece),
             Prefixed(piece, conversation));
        Seed("agent-paired", "conversation-" + std::to_string(piece),
             Prefixed(piece, afterPairing));
    }
    Bytes wrongSecret = requests[0];
    wrongSecret.back() ^= 1;
    Seed("agent-stranger", "wrong-secret", Prefixed(0, MakeFrame(wrongSecret)));
    Seed("agent-stranger", "request-first", Prefixed(0, MakeFrame(requests[1])));
    Seed("agent-stranger", "hello-only", Prefixed(0, MakeFrame(requests[0])));
}

void TextSeeds() {
    const std::wstring lines[] = {
        handoff::ViewerLaunchArguments(L"\\My Documents\\Glimmora_001.jpg", 60, false),
        handoff::ViewerLaunchArguments(L"\\My Documents\\Glimmora\\Glimmora_005.jpg", 86400, true),
        handoff::ViewerLaunchArguments(L"\\Temp\\Glimmora_001.jpg", 2147483647, false),
        L"\"\\My Documents\\My Pictures\\Holiday 1.jpg\"",
        L"\\Storage Card\\DCIM\\100MEDIA\\IMG0001.JPG /DEL /-5",
        L"/10",
        L"",
        L"  \"\" /del /+0012abc /99999999999999999999",
    };
    int n = 0;
    for (const std::wstring& line : lines) {
        Seed("command-line", "line-" + std::to_string(n++), Utf16(FromWide(line)));
    }
    const std::u16string paths[] = {
        u"\\My Documents\\Glimmora_001.jpg",
        u"/Temp/Glimmora_001.jpg",
        u"My Documents",
        u"\\",
        u"\\\\My Documents\\\\Glimmora",
        u"\\..\\Windows",
        u"C:\\Windows",
        u"\\My Documents\\a.jpg:stream",
        u"\\NUL.txt",
        u"\\Program Files\\Glimmora\\Glimmora.exe",
    };
    n = 0;
    for (const std::u16string& path : paths) {
        Seed("device-path", "path-" + std::to_string(n++), Utf16(path));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glimmora-fuzz-seeds FOLDER\n");
        return 2;
    }
    g_root = argv[1];
    MakeFolder(g_root);
    PictureSeeds();
    LinkSeeds();
    TextSeeds();
    std::printf("seeds: %d files under %s\n", g_written, g_root.c_str());
    return 0;
}
