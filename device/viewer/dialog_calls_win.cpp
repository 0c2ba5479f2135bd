#include "device/viewer/dialog_calls_win.h"

#include "device/dialogs/folder_picker_dialog_win.h"
#include "device/dialogs/options_dialog_win.h"

namespace glimmora::device::viewer {

namespace {

DialogOutcome Outcome(INT_PTR result) {
    if (result == -1) return DialogOutcome::kNotAvailable;
    return result == IDOK ? DialogOutcome::kOk : DialogOutcome::kCancelled;
}

}  // namespace

DialogOutcome RunSlideshowOptions(HWND owner, SlideshowChoice* choice) {
    dialogs::OptionsDialog dialog;
    const DialogOutcome outcome = Outcome(dialog.Run(owner));
    if (outcome == DialogOutcome::kOk) {
        choice->intervalSeconds = dialog.interval;
        choice->orientation = dialog.orientation;
    }
    return outcome;
}

DialogOutcome RunFolderPicker(HWND owner, const std::wstring& startFolder, std::wstring* chosen) {
    dialogs::FolderPickerDialog picker;
    picker.chosenFolder = startFolder;
    const DialogOutcome outcome = Outcome(picker.Run(owner));
    if (outcome == DialogOutcome::kOk) *chosen = picker.chosenFolder;
    return outcome;
}

}  // namespace glimmora::device::viewer
