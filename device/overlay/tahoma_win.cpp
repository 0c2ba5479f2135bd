#include "device/overlay/tahoma_win.h"

#include <cwchar>

namespace glimmora::device::overlay {

UniqueFont TahomaFont(int tenthsOfPoint, int weight) {
    int pixelsPerInch = 96;
    if (const WindowDC screen(nullptr); screen)
        pixelsPerInch = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(tenthsOfPoint, pixelsPerInch, 720);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wcscpy(lf.lfFaceName, L"Tahoma");
    return UniqueFont(::CreateFontIndirectW(&lf));
}

SIZE MeasureText(HDC dc, HGDIOBJ font, const wchar_t* text) {
    SIZE size{};
    const SelectObjectScope select(dc, font);
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    return size;
}

}  // namespace glimmora::device::overlay
