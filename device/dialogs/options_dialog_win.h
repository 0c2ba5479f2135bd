// The slideshow options dialog (template 146): picture change interval, orientation of the
// timed slideshow and the calendar/clock overlay. Its "Start" stores them and ends with
// IDOK; the opener then reads the three members and starts the slideshow.
#pragma once

#include <windows.h>

#include <cstdint>

#include "device/platform/modal_dialog_win.h"
#include "device/settings/settings_key_win.h"
#include "device/settings/viewer_settings.h"

namespace glimmora::device::dialogs {

class OptionsDialog : public platform::ModalDialog {
  public:
    explicit OptionsDialog(SettingsKey settings = SettingsKey{});

    // IDOK ("Start") or IDCANCEL; -1 when the dialog could not be created.
    INT_PTR Run(HWND parent);

    // Filled when "Start" is pressed.
    std::uint32_t interval = kDefaultSlideInterval;  // seconds
    std::uint32_t orientation = 0;                   // a DisplayOrientation index
    bool showCalendar = false;

  protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // "Start": stores the three values and ends with IDOK.
    void Confirm() override;

  private:
    void Open();

    SettingsKey settings_;
};

}  // namespace glimmora::device::dialogs
