// Painting the picture at its pan offsets with black strips around it, and the cross-fade.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/unique_gdi_win.h"
#include "device/pictures/bitmap_ops.h"
#include "device/overlay/local_clock_win.h"
#include "device/platform/pocket_shell_win.h"
#include "device/viewer/slideshow_rules.h"
#include "device/viewer/slideshow_window_win.h"

namespace glimmora::device::viewer {

namespace {

FadeHooks& Hooks() {
    static FadeHooks hooks;
    return hooks;
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Fills the part of `area` that `cover` leaves open, lazily making the brush.
void FillOutside(HDC dc, const RECT& area, const RECT& cover, UniqueBrush* brush) {
    RECT strips[4] = {
        {area.left, area.top, std::min(area.right, cover.left), area.bottom},
        {std::max(area.left, cover.right), area.top, area.right, area.bottom},
        {std::max(area.left, cover.left), area.top, std::min(area.right, cover.right),
         std::min(area.bottom, cover.top)},
        {std::max(area.left, cover.left), std::max(area.top, cover.bottom),
         std::min(area.right, cover.right), area.bottom},
    };
    for (const RECT& s : strips) {
        if (IsEmpty(s)) continue;
        if (!*brush) brush->reset(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FillRect(dc, &s, static_cast<HBRUSH>(brush->get()));
    }
}

}  // namespace

void SetFadeHooksForTesting(FadeHooks hooks) { Hooks() = std::move(hooks); }

void SlideshowWindow::PaintPicture(HDC target, const RECT& area) {
    UniqueBrush black;
    HDC source = static_cast<HDC>(picture_->GetMemoryDC());
    const RECT cover{-panX_, -panY_, -panX_ + picture_->Width(), -panY_ + picture_->Height()};
    FillOutside(target, area, cover, &black);
    RECT shown{};
    if (::IntersectRect(&shown, &area, &cover))
        ::BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                 source, shown.left + panX_, shown.top + panY_, SRCCOPY);
    picture_->DetachMemoryDC();
}

void SlideshowWindow::OnPaint() {
    const HWND window = Handle();
    const PaintDC paint(window);
    platform::HideTaskBarAndInputButton(window);
    if (!IsEmpty(bannerRect_)) {
        ::InvalidateRect(window, &bannerRect_, FALSE);
        bannerRect_ = {};
    }
    if (buttonsShown_) HideButtons();
    const RECT area = paint.paint().rcPaint;
    if (!picture_ || !picture_->GetMemoryDC()) {
        ::FillRect(paint.get(), &area, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return;
    }
    if (!calendar_.enabled) {
        PaintPicture(paint.get(), area);
        return;
    }
    // With the calendar on, the frame is composed off screen and copied once.
    RECT client{};
    ::GetClientRect(window, &client);
    DeviceBitmap frame;
    HDC frameDC =
        frame.Create(client.right, client.bottom) ? static_cast<HDC>(frame.GetMemoryDC()) : nullptr;
    if (!frameDC) {
        PaintPicture(paint.get(), area);
        return;
    }
    PaintPicture(frameDC, area);
    overlay::ReadLocalTime(&calendar_.shownTime);
    if (!calendar_.shown) calendar_.Rebuild();
    calendar_.DrawOverlay(window, frameDC, View());
    ::BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
             frameDC, area.left, area.top, SRCCOPY);
}

void SlideshowWindow::FadeInPicture(std::unique_ptr<DeviceBitmap> bitmap,
                                    const std::wstring& path) {
    const HWND window = Handle();
    RECT client{};
    ::GetClientRect(window, &client);
    const WindowDC dc(window);
    DeviceBitmap from;
    DeviceBitmap to;
    HDC fromDC = nullptr;
    HDC toDC = nullptr;
    if (fadeEnabled_ && dc && from.Create(client.right, client.bottom) &&
        to.Create(client.right, client.bottom)) {
        fromDC = static_cast<HDC>(from.GetMemoryDC());
        toDC = static_cast<HDC>(to.GetMemoryDC());
    }
    if (!fromDC || !toDC) {
        // No fade, or no room for its canvases: the picture simply appears.
        SetPicture(std::move(bitmap), path);
        ::InvalidateRect(window, nullptr, FALSE);
        return;
    }
    ::BitBlt(fromDC, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    SetPicture(std::move(bitmap), path);
    ::FillRect(toDC, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (HDC pictureDC = static_cast<HDC>(picture_->GetMemoryDC()))
        ::BitBlt(toDC, (client.right - picture_->Width()) / 2,
                 (client.bottom - picture_->Height()) / 2, picture_->Width(), picture_->Height(),
                 pictureDC, 0, 0, SRCCOPY);
    if (calendar_.enabled) {
        overlay::ReadLocalTime(&calendar_.shownTime);
        if (!calendar_.shown) calendar_.Rebuild();
        calendar_.DrawOverlay(window, toDC, View());
    }
    picture_->DetachMemoryDC();
    ::GdiFlush();
    to.DetachMemoryDC();
    int step = 0;
    while (fadeEnabled_) {
        const DWORD t0 = ::GetTickCount();
        if (!BlendStep(from, to)) break;
        ++step;
        if (Hooks().afterBlendStep) Hooks().afterBlendStep(step);
        const DWORD t1 = ::GetTickCount();
        if (FadeStepTooSlow(t0, t1)) {
            // A device this slow gives the fade up for good.
            fadeEnabled_ = false;
            break;
        }
        if (HDC frame = static_cast<HDC>(from.GetMemoryDC())) {
            ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, frame, 0, 0, SRCCOPY);
            ::GdiFlush();
        }
        if (Hooks().frameShown) Hooks().frameShown(window, step);
    }
    ::InvalidateRect(window, nullptr, FALSE);
}

}  // namespace glimmora::device::viewer
