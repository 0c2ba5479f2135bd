#include "device/overlay/banner_win.h"

#include "common/unique_gdi_win.h"
#include "device/pictures/bitmap_ops.h"
#include "device/pictures/device_bitmap.h"
#include "device/overlay/banner_layout.h"
#include "device/overlay/tahoma_win.h"

namespace glimmora::device::overlay {

void DrawNameBanner(HWND window, const std::wstring& text, std::uint8_t orientation,
                    RECT* bannerRect) {
    const WindowDC client(window);
    if (!client) return;
    const UniqueFont font = TahomaFont(85);
    SIZE extent{};
    {
        const SelectObjectScope select(client.get(), font.get());
        ::GetTextExtentExPointW(client.get(), text.c_str(), static_cast<int>(text.size()), 0,
                                nullptr, nullptr, &extent);
    }
    const BannerSize size = BannerSizeForText(extent.cx, extent.cy);
    DeviceBitmap banner;
    if (!banner.Create(size.width, size.height)) return;
    HDC dc = static_cast<HDC>(banner.GetMemoryDC());
    if (!dc) return;
    RECT all{0, 0, size.width, size.height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    {
        const SelectObjectScope pen(dc, ::GetStockObject(WHITE_PEN));
        const SelectObjectScope brush(dc, ::GetStockObject(DKGRAY_BRUSH));
        ::Rectangle(dc, 1, 1, size.width - 1, size.height - 1);
        const SelectObjectScope selectFont(dc, font.get());
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &all,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::GdiFlush();
    if (orientation == kRotateLeft) TurnLeft(banner);
    if (orientation == kRotateRight) TurnRight(banner);
    RECT clientRect{};
    ::GetClientRect(window, &clientRect);
    const Rect place = BannerPlacement(
        orientation, {clientRect.left, clientRect.top, clientRect.right, clientRect.bottom},
        banner.Width(), banner.Height());
    HDC source = static_cast<HDC>(banner.GetMemoryDC());
    if (!source) return;
    ::BitBlt(client.get(), place.left, place.top, place.Width(), place.Height(), source, 0, 0,
             SRCCOPY);
    *bannerRect = {place.left, place.top, place.right, place.bottom};
}

void ShowLoadingBanner(HWND window, const std::wstring& path, std::uint8_t orientation,
                       RECT* bannerRect) {
    if (bannerRect->left < bannerRect->right && bannerRect->top < bannerRect->bottom) {
        ::InvalidateRect(window, bannerRect, FALSE);
        ::UpdateWindow(window);
    }
    *bannerRect = {};
    const std::wstring text = LoadingBannerText(path);
    if (!text.empty()) DrawNameBanner(window, text, orientation, bannerRect);
}

}  // namespace glimmora::device::overlay
