// The viewer's one window: a full-screen modal dialog without controls that shows one
// picture at a time, black around it, pages through the picture's folder, takes over
// pictures handed to it by a new launch and runs the timed slideshow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/unique_user_win.h"
#include "device/pictures/device_bitmap.h"
#include "device/pictures/folder_order.h"
#include "device/overlay/calendar_overlay_win.h"
#include "device/platform/modal_dialog_win.h"
#include "device/viewer/button_layout.h"
#include "device/viewer/tap_tracker.h"

namespace glimmora::device::viewer {

// Test hooks around the cross-fade: called after each blend step (a hook that sleeps there
// makes a step slow) and after each blended frame reached the screen.
struct FadeHooks {
    std::function<void(int step)> afterBlendStep;
    std::function<void(HWND window, int frame)> frameShown;
};
void SetFadeHooksForTesting(FadeHooks hooks);

class SlideshowWindow : public platform::ModalDialog {
  public:
    SlideshowWindow();
    ~SlideshowWindow() override;
    SlideshowWindow(const SlideshowWindow&) = delete;
    SlideshowWindow& operator=(const SlideshowWindow&) = delete;

    // Set before the window runs (the application object does, from the command line).
    void SetStart(const std::wstring& path, bool deleteAfterShow, std::uint32_t slideIntervalMs);
    // Runs the window on template 102 until it ends.
    INT_PTR Run(HINSTANCE instance);

    // Read by tests.
    const std::wstring& CurrentPath() const { return list_.currentPath; }
    const PictureList& List() const { return list_; }
    std::uint32_t SlideInterval() const { return slideInterval_; }
    bool SlideshowRunning() const { return slideTimerId_ != 0; }
    bool ClockRunning() const { return clockTimerId_ != 0; }
    bool FadeEnabled() const { return fadeEnabled_; }
    bool ButtonsShown() const { return buttonsShown_; }
    bool CalendarEnabled() const { return calendar_.enabled; }
    const DeviceBitmap* Picture() const { return picture_.get(); }
    POINT Pan() const { return {panX_, panY_}; }
    const ButtonRects& Buttons() const { return buttonRects_; }
    RECT BannerRect() const { return bannerRect_; }
    const DeviceBitmap* CalendarBitmap() const { return calendar_.bitmap.get(); }

  protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // Start-up and the full-screen state.
    BOOL OnInitDialog();
    bool ChooseFolder();
    void OnDestroy();
    void MakeFullScreen();
    void SetIcon(HINSTANCE instance);

    // Pictures.
    std::unique_ptr<DeviceBitmap> LoadFramed(const std::wstring& path, std::uint8_t orientation);
    void StampLoadTime();
    void SetPicture(std::unique_ptr<DeviceBitmap> bitmap, const std::wstring& path);
    void FadeInPicture(std::unique_ptr<DeviceBitmap> bitmap, const std::wstring& path);
    void ShowLoadError(const std::wstring& path);
    void OnPaint();
    void PaintPicture(HDC target, const RECT& area);
    overlay::PictureView View();

    // Paging, hand-off, timers and the slideshow.
    void ShowPrevious();
    void ShowNext(bool timed);
    bool ShowManual(const std::wstring& path);
    bool ShowTimed(const std::wstring& path);
    void AfterPaging();
    void OnHandOff();
    void OnTimer(UINT_PTR id);
    void StartSlideshow();
    void StopSlideshow();
    void CloseViewer();
    void ArmClock();
    void ArmSlide();
    void UpdateCalendarSetting(bool turnOff);
    void ScanIfUnlocated();

    // Buttons, taps and keys.
    void LayoutButtons();
    void DrawButtons(int which);
    void HideButtons();
    void OnLButtonDown(POINT p);
    void OnMouseMove(WPARAM keys, POINT p);
    void OnLButtonUp(POINT p);
    void OnKeyDown(WPARAM key);
    void OnKeyUp(WPARAM key);
    void PageBack();
    void PageForward();
    void ActOn(std::int32_t button);

    std::unique_ptr<DeviceBitmap> picture_;
    PictureList list_;
    bool deleteAfterShow_ = false;
    std::int32_t panX_ = 0;
    std::int32_t panY_ = 0;
    std::uint8_t manualOrientation_ = kNormal;
    bool fitToScreen_ = false;
    TapTracker tap_;
    ButtonRects buttonRects_{};
    bool buttonsShown_ = false;
    RECT bannerRect_{};
    std::uint32_t loadStamp_ = kLoadRunning;
    UINT_PTR slideTimerId_ = 0;
    std::uint8_t slideOrientation_ = kNormal;
    std::uint32_t slideInterval_ = 0;
    bool fadeEnabled_ = true;
    overlay::CalendarOverlay calendar_;
    UINT_PTR clockTimerId_ = 0;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
    HINSTANCE instance_ = nullptr;
};

}  // namespace glimmora::device::viewer
