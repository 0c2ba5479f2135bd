// The button images, taps, drags and arrow keys of the slideshow window.
#include <windows.h>

#include "common/unique_gdi_win.h"
#include "device/pictures/bitmap_ops.h"
#include "device/pictures/folder_scan.h"
#include "device/overlay/banner_layout.h"
#include "device/overlay/banner_win.h"
#include "device/platform/transparent_image_win.h"
#include "device/viewer/slideshow_window_win.h"

namespace glimmora::device::viewer {

namespace {

std::uint8_t OrientationOf(const DeviceBitmap* picture) {
    return picture ? picture->orientation : static_cast<std::uint8_t>(kNormal);
}

bool NonEmpty(const RECT& r) { return r.left < r.right && r.top < r.bottom; }

// An image resource copied into a 24 x 24 canvas, turned to stand upright to the viewer.
bool LoadButtonImage(HINSTANCE instance, int id, std::uint8_t orientation, DeviceBitmap* image) {
    const UniqueBitmap resource(::LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
    if (!resource || !image->Create(kButtonImageSize, kButtonImageSize)) return false;
    const UniqueMemoryDC source(::CreateCompatibleDC(nullptr));
    HDC target = static_cast<HDC>(image->GetMemoryDC());
    if (!source || !target) return false;
    {
        const SelectObjectScope select(source.get(), resource.get());
        ::BitBlt(target, 0, 0, kButtonImageSize, kButtonImageSize, source.get(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    if (orientation == kRotateLeft) TurnLeft(*image);
    if (orientation == kRotateRight) TurnRight(*image);
    return true;
}

}  // namespace

void SlideshowWindow::LayoutButtons() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    buttonRects_ = viewer::LayoutButtons(client.right - client.left, client.bottom - client.top,
                                         OrientationOf(picture_.get()));
}

void SlideshowWindow::DrawButtons(int which) {
    const HWND window = Handle();
    const std::uint8_t o = OrientationOf(picture_.get());
    ScanIfUnlocated();
    const std::array<int, 4> ids =
        ButtonImages(list_.currentIndex, static_cast<std::int32_t>(list_.pictureNames.size()));
    const HINSTANCE instance = instance_ ? instance_ : ::GetModuleHandleW(nullptr);
    const auto draw = [&](NavButton b) {
        DeviceBitmap image;
        if (!LoadButtonImage(instance, ids[b], o, &image)) return;
        HDC source = static_cast<HDC>(image.GetMemoryDC());
        const WindowDC dc(window);
        if (!source || !dc) return;
        const Point at = ButtonImagePosition(b, buttonRects_[b], o);
        platform::TransparentImage(dc.get(), at.x, at.y, kButtonImageSize, kButtonImageSize, source,
                                   0, 0, kButtonImageSize, kButtonImageSize, RGB(0, 0, 0));
        buttonsShown_ = true;
    };
    if (which >= 0 && which < 4) {
        draw(static_cast<NavButton>(which));
        return;
    }
    bannerRect_ = {};
    const std::wstring name = overlay::PictureDisplayName(list_.currentPath);
    if (!name.empty()) overlay::DrawNameBanner(window, name, o, &bannerRect_);
    for (NavButton b : {kPrevious, kNext, kClose, kSlideshow}) draw(b);
}

void SlideshowWindow::HideButtons() {
    if (!buttonsShown_) return;
    const HWND window = Handle();
    buttonsShown_ = false;
    if (NonEmpty(bannerRect_)) ::InvalidateRect(window, &bannerRect_, FALSE);
    for (const Rect& r : buttonRects_) {
        const RECT region{r.left, r.top, r.right, r.bottom};
        ::InvalidateRect(window, &region, FALSE);
    }
}

void SlideshowWindow::OnLButtonDown(POINT p) {
    const std::int32_t pressed = tap_.Down({p.x, p.y}, loadStamp_, ::GetTickCount(), buttonRects_);
    if (pressed == kIgnoredTap) return;
    ::SetCapture(Handle());
    if (pressed >= 0 && !buttonsShown_) DrawButtons(pressed);
}

void SlideshowWindow::OnMouseMove(WPARAM keys, POINT p) {
    const auto step = tap_.DragStep({p.x, p.y}, (keys & MK_LBUTTON) != 0);
    if (!step) return;
    bool moved = false;
    if (picture_ && picture_->bitmap) {
        const HWND window = Handle();
        const std::int32_t x =
            DraggedPan(panX_, step->x, picture_->Width(), ::GetSystemMetrics(SM_CXSCREEN));
        const std::int32_t y =
            DraggedPan(panY_, step->y, picture_->Height(), ::GetSystemMetrics(SM_CYSCREEN));
        const auto beforeScroll = [&] {
            if (calendar_.enabled) {
                calendar_.Hide(window);
                calendar_.enabled = false;
            }
            if (buttonsShown_) HideButtons();
        };
        if (x != panX_) {
            beforeScroll();
            ::ScrollWindow(window, panX_ - x, 0, nullptr, nullptr);
            panX_ = x;
            moved = true;
        }
        if (y != panY_) {
            beforeScroll();
            ::ScrollWindow(window, 0, panY_ - y, nullptr, nullptr);
            panY_ = y;
            moved = true;
        }
        if (moved) ::UpdateWindow(window);
    }
    tap_.DragDone({p.x, p.y}, moved);
}

void SlideshowWindow::OnLButtonUp(POINT p) {
    ::ReleaseCapture();
    const TapUpResult up = tap_.Up({p.x, p.y}, buttonsShown_, buttonRects_);
    switch (up.action) {
        case TapUp::kNothing: break;
        case TapUp::kActivate:
            HideButtons();
            ActOn(up.button);
            break;
        case TapUp::kCancelPress:
        case TapUp::kHideImages: HideButtons(); break;
        case TapUp::kShowImages: DrawButtons(-1); break;
    }
}

void SlideshowWindow::ActOn(std::int32_t button) {
    switch (button) {
        case kPrevious: PageBack(); break;
        case kNext: PageForward(); break;
        case kClose: CloseViewer(); break;
        case kSlideshow:
            if (slideTimerId_ != 0) {
                StopSlideshow();
            } else {
                StartSlideshow();
            }
            break;
        default: break;
    }
}

void SlideshowWindow::PageBack() {
    ScanIfUnlocated();
    if (list_.currentIndex > 0) {
        ShowPrevious();
    } else {
        ::MessageBeep(MB_ICONASTERISK);
    }
}

void SlideshowWindow::PageForward() {
    ScanIfUnlocated();
    if (list_.currentIndex < static_cast<std::int32_t>(list_.pictureNames.size()) - 1) {
        ShowNext(false);
    } else {
        ::MessageBeep(MB_ICONASTERISK);
    }
}

namespace {
std::int32_t ArrowButton(WPARAM key) {
    if (key == VK_DOWN || key == VK_RIGHT) return kNext;
    if (key == VK_UP || key == VK_LEFT) return kPrevious;
    return kNoButton;
}
}  // namespace

void SlideshowWindow::OnKeyDown(WPARAM key) {
    if (loadStamp_ == kLoadRunning) return;
    const std::int32_t button = ArrowButton(key);
    if (button == kNoButton) return;
    bool hideFirst = false;
    const bool draw = tap_.KeyDown(static_cast<NavButton>(button), buttonsShown_, &hideFirst);
    if (hideFirst) HideButtons();
    if (draw) DrawButtons(button);
}

void SlideshowWindow::OnKeyUp(WPARAM key) {
    if (loadStamp_ == kLoadRunning) return;
    const std::int32_t button = ArrowButton(key);
    if (button == kNoButton) return;
    HideButtons();
    if (button == kNext) {
        PageForward();
    } else {
        PageBack();
    }
}

}  // namespace glimmora::device::viewer
