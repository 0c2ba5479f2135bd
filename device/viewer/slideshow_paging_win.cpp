// Paging through the folder, the timed advance, the hand-off from a new launch, and starting
// and stopping the slideshow.
#include <windows.h>

#include "device/pictures/folder_scan.h"
#include "device/overlay/banner_win.h"
#include "device/viewer/app_key_win.h"
#include "device/viewer/dialog_calls_win.h"
#include "device/viewer/slideshow_rules.h"
#include "device/viewer/slideshow_window_win.h"
#include "common/wait_cursor_win.h"
#include "device/settings/viewer_settings.h"
#include "handoff/registry_names.h"

namespace glimmora::device::viewer {

namespace {

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void SlideshowWindow::ScanIfUnlocated() {
    if (list_.currentIndex < 0) ScanFolder(list_);
}

void SlideshowWindow::ArmClock() {
    if (calendar_.enabled && clockTimerId_ == 0)
        clockTimerId_ = ::SetTimer(Handle(), kTimerClock, kClockPeriodMs, nullptr);
}

void SlideshowWindow::ArmSlide() {
    slideTimerId_ = ::SetTimer(Handle(), kTimerSlide, slideInterval_, nullptr);
}

void SlideshowWindow::UpdateCalendarSetting(bool turnOff) {
    const HWND window = Handle();
    if (turnOff) {
        if (calendar_.enabled) calendar_.Hide(window);
        calendar_.enabled = false;
        calendar_.shown = false;
        calendar_.Drop();
        if (const AppKey key = AppKey::OpenExisting()) key.Delete(handoff::kShowCalendar);
        return;
    }
    if (const AppKey key = AppKey::OpenExisting()) {
        if (const auto value = key.ReadDword(handoff::kShowCalendar))
            calendar_.enabled = *value != 0;
    }
    if (!calendar_.enabled && calendar_.shown) calendar_.Hide(window);
}

bool SlideshowWindow::ShowManual(const std::wstring& path) {
    const WaitCursor wait;
    overlay::ShowLoadingBanner(
        Handle(), path, picture_ ? picture_->orientation : std::uint8_t{kNormal}, &bannerRect_);
    std::unique_ptr<DeviceBitmap> bitmap = LoadFramed(path, manualOrientation_);
    if (!bitmap) {
        ShowLoadError(path);
        return false;
    }
    SetPicture(std::move(bitmap), path);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    return true;
}

bool SlideshowWindow::ShowTimed(const std::wstring& path) {
    std::unique_ptr<DeviceBitmap> bitmap = LoadFramed(path, slideOrientation_);
    if (!bitmap) return false;
    FadeInPicture(std::move(bitmap), path);
    return true;
}

void SlideshowWindow::ShowPrevious() {
    UpdateCalendarSetting(false);
    StepBack(list_, {FileExists, [this](const std::wstring& p) { return ShowManual(p); }});
    ArmClock();
}

void SlideshowWindow::ShowNext(bool timed) {
    UpdateCalendarSetting(false);
    StepActions actions{FileExists, [this, timed](const std::wstring& p) {
                            return timed ? ShowTimed(p) : ShowManual(p);
                        }};
    StepForward(list_, timed ? StepKind::kTimed : StepKind::kManual, actions);
    ArmClock();
}

void SlideshowWindow::OnHandOff() {
    const HWND window = Handle();
    manualOrientation_ = kNormal;
    if (slideTimerId_) ::KillTimer(window, slideTimerId_);
    slideTimerId_ = 0;
    std::optional<std::uint32_t> handed;
    std::optional<std::uint32_t> own;
    if (const AppKey key = AppKey::OpenOrCreate()) {
        if (const auto name =
                key.ReadString(handoff::kRapiDisplayFileName, handoff::kPathValueBufferBytes)) {
            if (FileExists(*name)) {
                UpdateCalendarSetting(false);
                if (std::unique_ptr<DeviceBitmap> bitmap = LoadFramed(*name, kNormal)) {
                    list_.folderPath = FolderFromPath(*name);
                    list_.currentIndex = -1;
                    list_.pictureNames.clear();
                    FadeInPicture(std::move(bitmap), *name);
                    const auto remove = key.ReadDword(handoff::kRapiDeleteFile);
                    if (remove && *remove != 0) ::DeleteFileW(name->c_str());
                }
                // Taps that queued up during the load and the fade count from here.
                StampLoadTime();
                ArmClock();
            }
            handed = key.ReadDword(handoff::kRapiDisplayInterval);
            const bool handedSome = handed && *handed != 0;
            if (!handedSome && slideInterval_ == 0) own = key.ReadDword(kSlideshowInterval);
        }
    }
    slideInterval_ = SlideIntervalAfterHandOff(slideInterval_, handed, own);
    ArmSlide();
}

void SlideshowWindow::OnTimer(UINT_PTR id) {
    const HWND window = Handle();
    if (id == kTimerSlide) {
        ::KillTimer(window, kTimerSlide);
        slideTimerId_ = 0;
        ScanIfUnlocated();
        ::SetForegroundWindow(window);
        ShowNext(true);
        // An empty list ends the slideshow silently.
        if (!list_.pictureNames.empty()) ArmSlide();
    } else if (id == kTimerClock) {
        ::KillTimer(window, kTimerClock);
        clockTimerId_ = 0;
        if (!calendar_.enabled) return;
        calendar_.Tick(window, View());
        clockTimerId_ = ::SetTimer(window, kTimerClock, kClockPeriodMs, nullptr);
    }
}

void SlideshowWindow::StartSlideshow() {
    ScanIfUnlocated();
    if (list_.pictureNames.empty()) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    SlideshowChoice choice;
    const DialogOutcome outcome = RunSlideshowOptions(Handle(), &choice);
    if (outcome == DialogOutcome::kNotAvailable) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (outcome != DialogOutcome::kOk) {
        UpdateCalendarSetting(true);
        return;
    }
    fadeEnabled_ = true;
    slideInterval_ = SecondsToMs(choice.intervalSeconds);
    slideOrientation_ = OrientationSetting(choice.orientation);
    ShowNext(true);
    ArmSlide();
}

void SlideshowWindow::StopSlideshow() {
    ::KillTimer(Handle(), slideTimerId_);
    slideTimerId_ = 0;
    if (const AppKey key = AppKey::OpenOrCreate()) key.WriteDword(handoff::kRapiStopSlideshow, 1);
    UpdateCalendarSetting(true);
    ::MessageBoxW(Handle(), L"Slideshow Stopped.", L" Glimmora", MB_OK | MB_ICONASTERISK);
}

void SlideshowWindow::CloseViewer() {
    if (const AppKey key = AppKey::OpenOrCreate()) key.WriteDword(handoff::kRapiStopSlideshow, 1);
    End(IDOK);
}

}  // namespace glimmora::device::viewer
