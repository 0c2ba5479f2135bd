// The viewer settings dialog (template 158): orientation and "Fit to Screen" of the viewer,
// and the .jpg association. It hands nothing back; its effects are in the registry, where
// the viewer reads Options at its start-up.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "device/association/association_win.h"
#include "device/platform/modal_dialog_win.h"

namespace glimmora::device::dialogs {

class SettingsDialog : public platform::ModalDialog {
  public:
    explicit SettingsDialog(
        association::AssociationPlaces places = association::AssociationPlaces{});

    // IDOK when confirmed (Enter, standing for the caption's OK), IDCANCEL when closed.
    INT_PTR Run(HWND parent);

    // The program that takes the association over; the running one unless a test says.
    std::wstring modulePath;
    std::optional<unsigned long> platformMajorVersion;

  protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Confirm() override;

  private:
    void Open();
    void PaintHeading();

    association::AssociationPlaces places_;
};

}  // namespace glimmora::device::dialogs
