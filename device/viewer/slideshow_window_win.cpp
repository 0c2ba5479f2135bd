// Start-up, the full-screen state, loading and setting pictures, and clean-up.
#include "device/viewer/slideshow_window_win.h"
#include "common/wait_cursor_win.h"

#include <windowsx.h>

#include "device/pictures/folder_scan.h"
#include "device/pictures/picture_loader.h"
#include "device/platform/pocket_shell_win.h"
#include "device/viewer/app_key_win.h"
#include "device/viewer/dialog_calls_win.h"
#include "device/viewer/slideshow_rules.h"
#include "device/settings/viewer_settings.h"
#include "handoff/messages.h"
#include "handoff/registry_names.h"
#include "resources/device/viewer_ids.h"

namespace glimmora::device::viewer {

namespace {

INT_PTR Answer(HWND window, LONG_PTR result) {
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

SlideshowWindow::SlideshowWindow() = default;

SlideshowWindow::~SlideshowWindow() = default;

void SlideshowWindow::SetStart(const std::wstring& path, bool deleteAfterShow,
                               std::uint32_t slideIntervalMs) {
    list_.currentPath = path;
    deleteAfterShow_ = deleteAfterShow;
    slideInterval_ = slideIntervalMs;
}

INT_PTR SlideshowWindow::Run(HINSTANCE instance) {
    instance_ = instance;
    return RunModal(instance, IDD_SLIDESHOW, nullptr);
}

INT_PTR SlideshowWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Handle();
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_ERASEBKGND:
            // Painting covers every pixel; erasing first would only flash.
            return Answer(window, TRUE);
        case WM_PAINT: OnPaint(); return TRUE;
        case WM_SIZE: LayoutButtons(); return FALSE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                ::PostMessageW(window, handoff::kWmViewerNotify, handoff::kViewerGoFullscreen, 0);
            return FALSE;
        case WM_SHOWWINDOW:
            if (wParam)
                ::PostMessageW(window, handoff::kWmViewerNotify, handoff::kViewerGoFullscreen, 0);
            return FALSE;
        case WM_TIMER: OnTimer(wParam); return FALSE;
        case handoff::kWmViewerNotify:
            if (wParam == handoff::kViewerShowPicture) OnHandOff();
            if (wParam == handoff::kViewerGoFullscreen) MakeFullScreen();
            return Answer(window, 0);
        case WM_GETDLGCODE:
            // The window has no controls: the arrow keys are its own, not the dialog
            // manager's focus moves.
            return Answer(window, DLGC_WANTALLKEYS | DLGC_WANTARROWS);
        case WM_LBUTTONDOWN: OnLButtonDown(PointOf(lParam)); return TRUE;
        case WM_MOUSEMOVE: OnMouseMove(wParam, PointOf(lParam)); return TRUE;
        case WM_LBUTTONUP: OnLButtonUp(PointOf(lParam)); return TRUE;
        case WM_KEYDOWN: OnKeyDown(wParam); return FALSE;
        case WM_KEYUP: OnKeyUp(wParam); return FALSE;
        case WM_CLOSE:
            // What the handheld's task manager or the shell sends to end a program: taken as
            // the user's Close, so the desktop learns of the stop too.
            CloseViewer();
            return TRUE;
        case WM_DESTROY: OnDestroy(); return FALSE;
        default: return FALSE;
    }
}

void SlideshowWindow::SetIcon(HINSTANCE instance) {
    icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_GLIMMORA),
                                                IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_GLIMMORA),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
    if (icon_) {
        ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    }
    if (smallIcon_) {
        ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL,
                       reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
}

BOOL SlideshowWindow::OnInitDialog() {
    const HWND window = Handle();
    SetIcon(instance_ ? instance_ : ::GetModuleHandleW(nullptr));

    if (const AppKey key = AppKey::OpenOrCreate()) {
        if (const auto options = key.ReadDword(kOptionsValue)) {
            const StartupOptions o = StartupOptionsFromBits(*options);
            manualOrientation_ = o.manualOrientation;
            fitToScreen_ = o.fitToScreen;
        }
        key.WriteWindow(handoff::kRapiThisHwnd, window);
        key.Delete(handoff::kRapiDisplayFileName);
        key.Delete(handoff::kRapiDisplayInterval);
        key.Delete(handoff::kRapiDeleteFile);
        key.Delete(handoff::kRapiStopSlideshow);
    }

    if (list_.currentPath.empty()) {
        if (!ChooseFolder()) return FALSE;
    } else {
        list_.currentIndex = -1;
        list_.pictureNames.clear();
        list_.folderPath = FolderFromPath(list_.currentPath);
    }

    const WaitCursor wait;
    if (slideInterval_ > 0) manualOrientation_ = kNormal;
    MakeFullScreen();
    UpdateCalendarSetting(false);
    std::unique_ptr<DeviceBitmap> bitmap = LoadFramed(list_.currentPath, manualOrientation_);
    if (!bitmap) {
        ShowLoadError(list_.currentPath);
        End(IDCANCEL);
        return FALSE;
    }
    SetPicture(std::move(bitmap), list_.currentPath);
    if (deleteAfterShow_) ::DeleteFileW(list_.currentPath.c_str());
    deleteAfterShow_ = false;
    if (slideInterval_ > 0) ArmSlide();
    ArmClock();
    return TRUE;
}

bool SlideshowWindow::ChooseFolder() {
    const HWND window = Handle();
    std::wstring start;
    if (const AppKey key = AppKey::OpenExisting()) {
        const auto size = key.ValueSize(kSlideshowLastUsedFolder);
        if (size && *size > 0)
            start = key.ReadString(kSlideshowLastUsedFolder, *size).value_or(L"");
    }
    std::wstring chosen;
    const DialogOutcome outcome = RunFolderPicker(window, start, &chosen);
    if (outcome != DialogOutcome::kOk) {
        // Without the picker linked in, folder mode cannot start: say so with a beep.
        if (outcome == DialogOutcome::kNotAvailable) ::MessageBeep(MB_ICONASTERISK);
        End(IDCANCEL);
        return false;
    }
    if (const AppKey key = AppKey::OpenOrCreate()) {
        if (!key.WriteString(kSlideshowLastUsedFolder, chosen))
            key.Delete(kSlideshowLastUsedFolder);
    }
    list_.folderPath = chosen + L"\\";
    ScanFolder(list_);
    if (list_.pictureNames.empty()) {
        ::MessageBoxW(window, NoPictureText(list_.folderPath).c_str(), L" Error - Glimmora",
                      MB_OK | MB_ICONHAND);
        End(IDCANCEL);
        return false;
    }
    list_.currentIndex = 0;
    list_.currentPath = list_.folderPath + list_.pictureNames.front();
    return true;
}

void SlideshowWindow::OnDestroy() {
    const HWND window = Handle();
    if (slideTimerId_) ::KillTimer(window, slideTimerId_);
    if (clockTimerId_) ::KillTimer(window, clockTimerId_);
    slideTimerId_ = 0;
    clockTimerId_ = 0;
    picture_.reset();
    calendar_.Drop();
    if (const AppKey key = AppKey::OpenExisting()) {
        key.Delete(handoff::kRapiThisHwnd);
        key.Delete(handoff::kShowCalendar);
    }
}

void SlideshowWindow::MakeFullScreen() {
    const HWND window = Handle();
    platform::ShellElementCall(window, 2);
    platform::InitFullScreenDialog(window);
    ::SetForegroundWindow(window);
    platform::HideTaskBarAndInputButton(window);
    ::MoveWindow(window, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                 TRUE);
}

std::unique_ptr<DeviceBitmap> SlideshowWindow::LoadFramed(const std::wstring& path,
                                                          std::uint8_t orientation) {
    auto bitmap = std::make_unique<DeviceBitmap>();
    loadStamp_ = kLoadRunning;
    const bool loaded = LoadPicture(*bitmap, path.c_str(), ::GetSystemMetrics(SM_CXSCREEN),
                                    ::GetSystemMetrics(SM_CYSCREEN), orientation, fitToScreen_);
    StampLoadTime();
    if (!loaded) bitmap.reset();
    return bitmap;
}

void SlideshowWindow::StampLoadTime() {
    loadStamp_ = ::GetTickCount();
    if (IsReservedTick(loadStamp_)) {
        ::Sleep(2);
        loadStamp_ = ::GetTickCount();
    }
}

void SlideshowWindow::SetPicture(std::unique_ptr<DeviceBitmap> bitmap, const std::wstring& path) {
    const HWND window = Handle();
    picture_ = std::move(bitmap);
    list_.currentPath = path;
    ::SetWindowTextW(window, WindowTitle(path).c_str());
    panX_ = CentredPan(picture_->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    panY_ = CentredPan(picture_->Height(), ::GetSystemMetrics(SM_CYSCREEN));
    LayoutButtons();
    RECT wr{};
    ::GetWindowRect(window, &wr);
    if (wr.left != 0 || wr.top != 0)
        ::PostMessageW(window, handoff::kWmViewerNotify, handoff::kViewerGoFullscreen, 0);
}

void SlideshowWindow::ShowLoadError(const std::wstring& path) {
    ::MessageBoxW(Handle(), LoadErrorText(path).c_str(), L" Error - Glimmora", MB_OK | MB_ICONHAND);
}

overlay::PictureView SlideshowWindow::View() { return {picture_.get(), panX_, panY_}; }

}  // namespace glimmora::device::viewer
