#include "tests/desktop/session/session_fixture_win.h"

#include <cstdio>

#include "handoff/messages.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::test {

namespace {
std::vector<std::uint8_t> ReadWide(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}
// The width in a JPEG's frame header, read without decoding (the test decoder stops the
// program on a broken file, and a test must be able to report one); -2 when there is none.
int JpegFrameWidth(const std::vector<std::uint8_t>& jpeg) {
    std::size_t i = 2;
    while (i + 9 < jpeg.size() && jpeg[i] == 0xFF) {
        const std::uint8_t marker = jpeg[i + 1];
        const std::size_t length = static_cast<std::size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3];
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2)
            return jpeg[i + 7] << 8 | jpeg[i + 8];
        i += 2 + length;
    }
    return -2;
}
}  // namespace

void SessionTest::SetUp() {
    ASSERT_TRUE(fake_.ok()) << "fake_rapi.dll not found beside the test";
    ASSERT_NE(window_.hwnd(), nullptr);
    handheldRoot_ = Widen(handheld_.path());
    handheldRoot_.pop_back();
    script_ = fake_rapi::DefaultScript(handheldRoot_.c_str());
    params_.root = pictures_.path();
    params_.settingsKey = key_.path();
    window_.onNotice = [this](WPARAM code) {
        if (code != handoff::kNotifyUploadEnd) return;
        const std::vector<FakeCall> creates =
            CallsNamed(ParseFakeLog(fake_.Log()), L"CeCreateFile");
        if (creates.empty()) return;
        const std::vector<std::uint8_t> jpeg = ReadWide(HandheldFile(creates.back().args.at(0)));
        const int width = jpeg.empty() ? -1 : JpegFrameWidth(jpeg);
        sentWidths_.push_back(width);
    };
}

void SessionTest::Picture(const std::string& relative, int width, int height) {
    for (std::size_t slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', slash + 1)) {
        CreateDirectoryA(pictures_.File(relative.substr(0, slash)).c_str(), nullptr);
    }
    WriteFileBytes(pictures_.File(relative),
                   EncodeJpeg(NoisyGradient(width, height, 3, static_cast<unsigned>(width)), kRgb));
}

void SessionTest::Bytes(const std::string& relative, const std::string& content) {
    WriteFileBytes(pictures_.File(relative),
                   std::vector<std::uint8_t>(content.begin(), content.end()));
}

std::unique_ptr<SessionRun> SessionTest::Start() {
    fake_.Reset(script_);
    return std::make_unique<SessionRun>(params_, list_, window_);
}

void SessionTest::Finish(SessionRun& run) {
    window_.DrainPosted();
    calls_ = ParseFakeLog(fake_.Log());
    (void)run;
}

void SessionTest::Run(DWORD limitMs) {
    std::unique_ptr<SessionRun> run = Start();
    const bool ended = run->Wait(limitMs);
    if (!ended) run->StopAndTime(5000);  // so a failing test does not leave a session behind
    Finish(*run);
    ASSERT_TRUE(ended) << "the session did not end by itself";
}

bool SessionTest::HandheldFileExists(const std::wstring& devicePath) const {
    return GetFileAttributesW(HandheldFile(devicePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace glimmora::test
