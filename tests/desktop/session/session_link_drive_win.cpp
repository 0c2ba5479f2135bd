// Runs one real session through the real rapi.dll beside this program, to whatever handheld
// the link's variables point at: it makes its own pictures (640 x 480, 800 x 600, 1200 x 900,
// sent in name order), waits until `count` transfers have ended, stops the session and
// reports what the main window would have seen.
//   session_link_drive.exe COUNT INTERVAL KEEP(0|1) MAXKEPT SHOWCALENDAR(0|1)
// Exit status 0 when `count` pictures were transferred, no launch error was posted and the
// session's end was its last notice; 1 otherwise; 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "handoff/messages.h"
#include "tests/desktop/session/session_harness_win.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_jpeg.h"

int main(int argc, char** argv) {
    using namespace glimmora;
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: session_link_drive COUNT INTERVAL KEEP MAXKEPT SHOWCALENDAR\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    test::TempFolder pictures;
    const int sizes[][2] = {{640, 480}, {800, 600}, {1200, 900}};
    for (int i = 0; i < 3; ++i) {
        test::WriteFileBytes(
            pictures.File("photo" + std::to_string(i) + ".jpg"),
            test::EncodeJpeg(test::NoisyGradient(sizes[i][0], sizes[i][1], 3, 7u + i), test::kRgb));
    }
    test::ScratchSettingsKey key;
    test::NoticeWindow window;
    test::SessionParams params;
    params.root = pictures.path();
    params.interval = std::atoi(argv[2]);
    params.keep = std::atoi(argv[3]) != 0;
    params.maxKept = std::atoi(argv[4]);
    params.showCalendar = std::atoi(argv[5]) != 0;
    params.library = "rapi.dll";
    params.settingsKey = key.path();
    desktop::PictureList list;
    test::SessionRun run(params, list, window);
    for (int i = 0; i < 2400 && !window.ended() && window.Count(handoff::kNotifyUploadEnd) < count;
         ++i) {
        run.Wait(50);
    }
    const DWORD stopMs = run.StopAndTime(10000);
    window.DrainPosted();
    std::printf("notices:");
    for (const test::Notice& n : window.notices) std::printf(" %u", static_cast<unsigned>(n.code));
    std::printf("\nstopped in %lu ms\nresume point: %s\n", static_cast<unsigned long>(stopMs),
                key.ReadLastImage().c_str());
    WPARAM lastSent = 0;
    for (const test::Notice& n : window.notices) lastSent = n.sent ? n.code : lastSent;
    const bool ok = window.Count(handoff::kNotifyUploadEnd) >= count &&
                    window.Count(handoff::kNotifyLaunchFailed) == 0 &&
                    lastSent == handoff::kNotifySessionEnded;
    return ok ? 0 : 1;
}
