#include "device/viewer/dialog_calls_win.h"

namespace glimmora::device::viewer {

DialogOutcome RunSlideshowOptions(HWND, SlideshowChoice*) { return DialogOutcome::kNotAvailable; }

DialogOutcome RunFolderPicker(HWND, const std::wstring&, std::wstring*) {
    return DialogOutcome::kNotAvailable;
}

}  // namespace glimmora::device::viewer
