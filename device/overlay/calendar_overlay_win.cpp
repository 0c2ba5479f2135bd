#include "device/overlay/calendar_overlay_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/unique_gdi_win.h"
#include "device/pictures/bitmap_ops.h"
#include "device/overlay/banner_layout.h"
#include "device/overlay/calendar_layout.h"
#include "device/overlay/clock_text.h"
#include "device/overlay/local_clock_win.h"
#include "device/overlay/tahoma_win.h"

namespace glimmora::device::overlay {

namespace {

constexpr COLORREF kAmber = 0x0069CDFF;
constexpr COLORREF kHeaderGrey = 0x002D2D2D;
constexpr COLORREF kBlack = 0x00000000;

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

struct CalendarFonts {
    UniqueFont clock = TahomaFont(165, FW_BOLD);
    UniqueFont day = TahomaFont(80, FW_NORMAL);
    UniqueFont label = TahomaFont(85, FW_BOLD);
};

void DrawCell(HDC dc, const std::wstring& text, Rect cell, UINT format) {
    RECT r = ToRect(cell);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

void PaintCalendar(HDC dc, const CalendarLayout& c, const CalendarFonts& fonts) {
    {
        const UniqueBrush grey(::CreateSolidBrush(kHeaderGrey));
        RECT box = ToRect(c.headerBox);
        ::FillRect(dc, &box, grey.get());
    }
    const SelectObjectScope label(dc, fonts.label.get());
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, kAmber);
    ::SetBkColor(dc, kHeaderGrey);
    DrawCell(dc, c.headerLabel, c.headerText, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP);
    ::SetBkColor(dc, kBlack);
    for (std::size_t i = 0; i < 7; ++i)
        DrawCell(dc, std::wstring(1, c.weekdayLetters[i]), c.weekdayCells[i],
                 DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
    const SelectObjectScope day(dc, fonts.day.get());
    const UniqueBrush amber(::CreateSolidBrush(kAmber));
    for (const DayCell& d : c.days) {
        if (d.today) {
            RECT fill = ToRect(d.fill);
            ::FillRect(dc, &fill, amber.get());
            ::SetTextColor(dc, kBlack);
            ::SetBkColor(dc, kAmber);
        } else {
            ::SetTextColor(dc, kAmber);
            ::SetBkColor(dc, kBlack);
        }
        DrawCell(dc, std::to_wstring(d.number), d.rect,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
}

std::int32_t Margin() { return MeasureDayCell().cx / 3; }

}  // namespace

SIZE MeasureDayCell() {
    const WindowDC screen(nullptr);
    if (!screen) return SIZE{};
    const UniqueFont font = TahomaFont(80, FW_NORMAL);
    return MeasureText(screen.get(), font.get(), L"27");
}

SIZE RenderCalendar(DeviceBitmap* bitmap) {
    const CalendarFonts fonts;
    CalendarMetrics metrics;
    {
        const WindowDC screen(nullptr);
        if (!screen) return {};
        metrics.clockHeight = MeasureText(screen.get(), fonts.clock.get(), L"99:99").cy;
        const SIZE cell = MeasureText(screen.get(), fonts.day.get(), L"27");
        metrics.dayCellWidth = cell.cx;
        metrics.dayCellHeight = cell.cy;
        metrics.letterWidth = MeasureText(screen.get(), fonts.label.get(), L"M").cx;
    }
    SYSTEMTIME now{};
    ReadLocalTime(&now);
    const CalendarLayout layout =
        LayoutCalendar(metrics, {now.wYear, now.wMonth, now.wDay}, FirstDayOfWeek());
    if (bitmap && bitmap->bits) {
        std::memset(bitmap->bits, 0, bitmap->Stride() * static_cast<std::size_t>(bitmap->Height()));
        if (HDC dc = static_cast<HDC>(bitmap->GetMemoryDC())) {
            PaintCalendar(dc, layout, fonts);
            ::GdiFlush();
            bitmap->DetachMemoryDC();
        }
    }
    return {layout.width, layout.height};
}

void CalendarOverlay::Rebuild() {
    bitmap = std::make_unique<DeviceBitmap>();
    const SIZE size = RenderCalendar(nullptr);
    if (bitmap->Create(size.cx, size.cy)) RenderCalendar(bitmap.get());
}

void CalendarOverlay::Drop() { bitmap.reset(); }

void CalendarOverlay::DrawOverlay(HWND window, HDC dc, const PictureView& view) {
    if (!bitmap) Rebuild();
    const std::int32_t m = Margin();
    RECT wr{};
    ::GetWindowRect(window, &wr);
    const std::int32_t w = bitmap->Width();
    const std::int32_t h = bitmap->Height();
    const int x = ::GetSystemMetrics(SM_CXSCREEN) - wr.left - w - m;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) - wr.top - h - m;
    DeviceBitmap behind;
    if (bitmap->bitmap && behind.Create(w, h)) {
        if (HDC local = static_cast<HDC>(behind.GetMemoryDC())) {
            ::BitBlt(local, 0, 0, w, h, dc, x, y, SRCCOPY);
            ::GdiFlush();
            behind.fadeIncrement = 6;
            behind.fadeStep = 0;
            BlendStep(behind, *bitmap);
            if (HDC blended = static_cast<HDC>(behind.GetMemoryDC()))
                ::BitBlt(dc, x, y, w, h, blended, 0, 0, SRCCOPY);
        }
    }
    ReadLocalTime(&shownTime);
    DrawClockStrip(window, dc, view);
    shown = true;
}

void CalendarOverlay::DrawClockStrip(HWND window, HDC dc, const PictureView& view) {
    if (!bitmap || !bitmap->bitmap) return;
    const std::int32_t cw0 = MeasureDayCell().cx;
    const std::int32_t m = cw0 / 3;
    const std::wstring text = ClockText(shownTime.wHour, shownTime.wMinute);
    const UniqueFont clockFont = TahomaFont(165, FW_BOLD);
    const UniqueFont meridiemFont = TahomaFont(80, FW_BOLD);
    TEXTMETRICW metrics{};
    SIZE extent{};
    {
        const SelectObjectScope select(dc, clockFont.get());
        ::GetTextMetricsW(dc, &metrics);
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const std::int32_t width = bitmap->Width();
    const std::int32_t th = std::min<std::int32_t>(extent.cy, bitmap->Height());
    DeviceBitmap strip;
    if (th <= 0 || !strip.Create(width, th)) return;
    HDC stripDC = static_cast<HDC>(strip.GetMemoryDC());
    HDC calendarDC = static_cast<HDC>(bitmap->GetMemoryDC());
    if (!stripDC || !calendarDC) return;
    ::BitBlt(stripDC, 0, 0, width, th, calendarDC, 0, 0, SRCCOPY);
    bitmap->DetachMemoryDC();

    ::SetTextColor(stripDC, kAmber);
    ::SetBkMode(stripDC, TRANSPARENT);
    TEXTMETRICW small{};
    {
        const SelectObjectScope select(stripDC, meridiemFont.get());
        ::GetTextMetricsW(stripDC, &small);
    }
    const ClockStripLayout layout =
        LayoutClockStrip(cw0, extent.cx, th, metrics.tmDescent, small.tmDescent);
    {
        const SelectObjectScope select(stripDC, clockFont.get());
        RECT r{layout.digitsLeft, 0, width, th};
        ::DrawTextW(stripDC, text.c_str(), static_cast<int>(text.size()), &r,
                    DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP);
    }
    {
        const SelectObjectScope select(stripDC, meridiemFont.get());
        RECT r{layout.meridiemLeft, 0, width, layout.meridiemBottom};
        ::DrawTextW(stripDC, MeridiemText(shownTime.wHour), 2, &r,
                    DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP);
    }
    ::GdiFlush();

    const int x = ::GetSystemMetrics(SM_CXSCREEN) - m - width;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) - m - bitmap->Height();
    if (view.picture && view.picture->bitmap) {
        DeviceBitmap behind;
        if (behind.Create(width, th)) {
            std::memset(behind.bits, 0, behind.Stride() * static_cast<std::size_t>(th));
            // Only the part that lies on the picture is copied; the rest stays black.
            const int sx = view.panX + x;
            const int sy = view.panY + y;
            const int left = std::max(0, -sx);
            const int top = std::max(0, -sy);
            const int right = std::min<int>(width, view.picture->Width() - sx);
            const int bottom = std::min<int>(th, view.picture->Height() - sy);
            HDC pictureDC = static_cast<HDC>(view.picture->GetMemoryDC());
            HDC behindDC = static_cast<HDC>(behind.GetMemoryDC());
            if (pictureDC && behindDC && left < right && top < bottom)
                ::BitBlt(behindDC, left, top, right - left, bottom - top, pictureDC, sx + left,
                         sy + top, SRCCOPY);
            ::GdiFlush();
            view.picture->DetachMemoryDC();
            strip.fadeIncrement = 4;
            strip.fadeStep = 0;
            BlendStep(strip, behind);
        }
    }
    RECT wr{};
    ::GetWindowRect(window, &wr);
    if (HDC finished = static_cast<HDC>(strip.GetMemoryDC()))
        ::BitBlt(dc, x - wr.left, y - wr.top, width, th, finished, 0, 0, SRCCOPY);
}

RECT CalendarOverlay::ClientRectOfCalendar(HWND window) const {
    RECT client{};
    ::GetClientRect(window, &client);
    if (!bitmap) return client;
    const Rect r = CalendarClientRect({client.left, client.top, client.right, client.bottom},
                                      bitmap->Width(), bitmap->Height(), Margin());
    return ToRect(r);
}

void CalendarOverlay::Hide(HWND window) {
    if (!shown) return;
    if (bitmap) {
        const RECT r = ClientRectOfCalendar(window);
        bitmap.reset();
        ::InvalidateRect(window, &r, FALSE);
    }
    shown = false;
}

void CalendarOverlay::Tick(HWND window, const PictureView& view) {
    SYSTEMTIME now{};
    ReadLocalTime(&now);
    switch (DecideClockTick(ToLocalTime(shownTime), ToLocalTime(now))) {
        case ClockTick::kNothing: break;
        case ClockTick::kRedrawClock: {
            shownTime = now;
            const WindowDC dc(window);
            if (dc) DrawClockStrip(window, dc.get(), view);
            break;
        }
        case ClockTick::kRebuildCalendar: {
            shownTime = now;
            // A new month may need fewer rows: the old calendar's area is repainted too.
            const RECT before = ClientRectOfCalendar(window);
            Rebuild();
            const RECT after = ClientRectOfCalendar(window);
            RECT both{};
            ::UnionRect(&both, &before, &after);
            ::InvalidateRect(window, &both, FALSE);
            break;
        }
    }
}

}  // namespace glimmora::device::overlay
