// Whether a long session holds on to anything: 200 pictures sent by the real session thread
// to the scripted remote API (no handheld, no network), with the process's private bytes and
// handle count taken after picture 10 and after picture 200. Only one picture at a time may
// be held, so neither may grow between the two.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "handoff/messages.h"
#include "tests/desktop/session/session_harness_win.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_jpeg.h"

namespace {

constexpr int kPictures = 200;
constexpr int kEarly = 10;
constexpr int kDistinctFiles = 20;  // walked round ten times

struct Sample {
    SIZE_T privateBytes = 0;
    DWORD handles = 0;
};

// Committed private memory, summed over the address space: Wine's process counters report 0.
SIZE_T CommittedPrivateBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// Open kernel handles, found by asking about every handle value in turn (Wine reports no
// handle count either). Handle values are multiples of 4.
DWORD OpenHandles() {
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < (1u << 18); value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

Sample Take() {
    Sample s;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        s.privateBytes = counters.PrivateUsage;
    }
    if (s.privateBytes == 0) s.privateBytes = CommittedPrivateBytes();
    GetProcessHandleCount(GetCurrentProcess(), &s.handles);
    if (s.handles == 0) s.handles = OpenHandles();
    return s;
}

}  // namespace

int main() {
    using namespace glimmora;
    test::FakeRapi fake;
    if (!fake.ok()) {
        std::fprintf(stderr, "session_memory_bench: fake_rapi.dll not found beside the program\n");
        return 1;
    }
    test::TempFolder pictures, handheld;
    for (int i = 0; i < kDistinctFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo%02d.jpg", i);
        test::WriteFileBytes(
            pictures.File(name),
            test::EncodeJpeg(test::NoisyGradient(1600, 1200, 3, static_cast<unsigned>(i)),
                             test::kRgb));
    }
    std::wstring root = test::Widen(handheld.path());
    root.pop_back();
    fake_rapi::Script script = fake_rapi::DefaultScript(root.c_str());
    script.record = FALSE;  // the call log would grow by itself
    script.stopAtConnection = kPictures + 1;
    fake.Reset(script);

    test::ScratchSettingsKey key;
    test::NoticeWindow window;
    int sent = 0;
    Sample early, late;
    window.onNotice = [&](WPARAM code) {
        if (code != handoff::kNotifyUploadEnd) return;
        ++sent;
        if (sent == kEarly) early = Take();
        if (sent == kPictures) late = Take();
    };
    test::SessionParams params;
    params.root = pictures.path();
    params.settingsKey = key.path();
    desktop::PictureList list;
    const DWORD start = GetTickCount();
    test::SessionRun run(params, list, window);
    if (!run.Wait(600000)) {
        std::fprintf(stderr, "session_memory_bench: the session did not end within 10 minutes\n");
        run.StopAndTime(5000);
        return 1;
    }
    const double seconds = (GetTickCount() - start) / 1000.0;
    if (sent != kPictures) {
        std::fprintf(stderr, "session_memory_bench: %d pictures sent, expected %d\n", sent,
                     kPictures);
        return 1;
    }
    const long long growth =
        static_cast<long long>(late.privateBytes) - static_cast<long long>(early.privateBytes);
    std::printf("session of %d pictures (1600 x 1200 photos to a 240 x 320 handheld), %.1f s\n",
                kPictures, seconds);
    std::printf("private bytes after picture %3d: %8.1f KiB\n", kEarly,
                early.privateBytes / 1024.0);
    std::printf(
        "private bytes after picture %3d: %8.1f KiB  (growth %+.1f KiB, ratio %.3f; target <= "
        "1.000)\n",
        kPictures, late.privateBytes / 1024.0, growth / 1024.0,
        early.privateBytes ? static_cast<double>(late.privateBytes) / early.privateBytes : 0.0);
    std::printf("handles after picture %3d: %lu\n", kEarly,
                static_cast<unsigned long>(early.handles));
    std::printf("handles after picture %3d: %lu  (growth %+ld; target 0)\n", kPictures,
                static_cast<unsigned long>(late.handles),
                static_cast<long>(late.handles) - static_cast<long>(early.handles));
    return 0;
}
