#include "device/overlay/tahoma_win.h"

#include <cwchar>

namespace glimmora::device::overlay {

UniqueGdiObject TahomaFont(int tenthsOfPoint, int weight) {
    int pixelsPerInch = 96;
    if (HDC screen = ::GetDC(nullptr)) {
        pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(tenthsOfPoint, pixelsPerInch, 720);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wcscpy(lf.lfFaceName, L"Tahoma");
    return UniqueGdiObject(::CreateFontIndirectW(&lf));
}

SIZE MeasureText(HDC dc, HGDIOBJ font, const wchar_t* text) {
    SIZE size{};
    const SelectObjectScope select(dc, font);
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    return size;
}

}  // namespace glimmora::device::overlay
