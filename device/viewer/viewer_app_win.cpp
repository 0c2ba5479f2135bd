#include "device/viewer/viewer_app_win.h"

#include "device/viewer/app_key_win.h"
#include "device/viewer/slideshow_rules.h"
#include "device/viewer/slideshow_window_win.h"
#include "handoff/messages.h"
#include "handoff/registry_names.h"

namespace glimmora::device::viewer {

bool HandOffToRunningViewer(const handoff::ViewerCommandLine& command) {
    const AppKey key = AppKey::OpenOrCreate();
    if (!key) return false;
    const auto window = key.ReadWindow(handoff::kRapiThisHwnd);
    if (!window || !::IsWindow(*window)) return false;
    key.WriteString(handoff::kRapiDisplayFileName, command.cmdFile);
    key.WriteDword(handoff::kRapiDisplayInterval,
                   static_cast<std::uint32_t>(command.cmdIntervalSeconds));
    key.WriteDword(handoff::kRapiDeleteFile, command.cmdDelete ? 1 : 0);
    ::PostMessageW(*window, handoff::kWmViewerNotify, handoff::kViewerShowPicture, 0);
    return true;
}

bool ViewerApp::InitApplication(std::wstring_view commandLine) {
    command_ = handoff::ParseViewerCommandLine(commandLine);
    return !HandOffToRunningViewer(command_);
}

void ViewerApp::InitInstance(HINSTANCE instance) {
    SlideshowWindow window;
    if (command_.cmdFile.empty()) {
        window.SetStart(L"", false, 0);
    } else {
        window.SetStart(command_.cmdFile, command_.cmdDelete,
                        SecondsToMs(static_cast<std::uint32_t>(command_.cmdIntervalSeconds)));
    }
    window.Run(instance);
}

}  // namespace glimmora::device::viewer
