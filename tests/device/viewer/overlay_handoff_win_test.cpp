// The calendar and clock through a test clock, and the hand-off from a second instance of
// Glimmora.exe, on a handheld-sized screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/overlay/calendar_layout.h"
#include "device/overlay/clock_text.h"
#include "device/overlay/local_clock_win.h"
#include "device/overlay/tahoma_win.h"
#include "device/pictures/picture_loader.h"
#include "device/viewer/app_key_win.h"
#include "device/viewer/slideshow_window_win.h"
#include "handoff/registry_names.h"
#include "tests/device/viewer/window_driver_win.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::device::viewer {
namespace {

using test::Shot;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

SYSTEMTIME g_clock{};
void FixedClock(SYSTEMTIME* now) { *now = g_clock; }
int g_firstDay = 6;
int FixedFirstDay() { return g_firstDay; }

void SetClock(int year, int month, int day, int hour, int minute) {
    g_clock = {};
    g_clock.wYear = static_cast<WORD>(year);
    g_clock.wMonth = static_cast<WORD>(month);
    g_clock.wDay = static_cast<WORD>(day);
    g_clock.wHour = static_cast<WORD>(hour);
    g_clock.wMinute = static_cast<WORD>(minute);
}

overlay::CalendarMetrics MeasureLikeTheWindow() {
    HDC screen = ::GetDC(nullptr);
    const auto clock = overlay::TahomaFont(165, FW_BOLD);
    const auto day = overlay::TahomaFont(80, FW_NORMAL);
    const auto label = overlay::TahomaFont(85, FW_BOLD);
    overlay::CalendarMetrics m;
    m.clockHeight = overlay::MeasureText(screen, clock.get(), L"99:99").cy;
    const SIZE cell = overlay::MeasureText(screen, day.get(), L"27");
    m.dayCellWidth = cell.cx;
    m.dayCellHeight = cell.cy;
    m.letterWidth = overlay::MeasureText(screen, label.get(), L"M").cx;
    ::ReleaseDC(nullptr, screen);
    return m;
}

class OverlayWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 240) << "run on a 240 x 320 screen";
        ClearKey();
        overlay::SetLocalTimeSourceForTesting(FixedClock);
        overlay::SetFirstDaySourceForTesting(FixedFirstDay);
        // A small picture leaves the calendar's corner black behind it.
        picture_ = Wide(folder_.File("small.jpg"));
        test::WriteFileBytes(folder_.File("small.jpg"),
                             test::EncodeJpeg(test::NoisyGradient(100, 100, 3, 1), test::kRgb));
    }
    void TearDown() override {
        ClearKey();
        overlay::SetLocalTimeSourceForTesting(nullptr);
        overlay::SetFirstDaySourceForTesting(nullptr);
    }
    static void ClearKey() {
        const AppKey key = AppKey::OpenOrCreate();
        for (const wchar_t* name :
             {handoff::kRapiThisHwnd, handoff::kRapiDisplayFileName, handoff::kRapiDisplayInterval,
              handoff::kRapiDeleteFile, handoff::kRapiStopSlideshow, handoff::kShowCalendar})
            key.Delete(name);
    }
    // The screen with the calendar for the clock and first day set now.
    Shot ShowCalendar(SIZE* calendarSize) {
        AppKey::OpenOrCreate().WriteDword(handoff::kShowCalendar, 1);
        SlideshowWindow window;
        window.SetStart(picture_, false, 0);
        Shot shot;
        EXPECT_TRUE(
            test::RunWindow(window, {test::Wait(400), [&] {
                                         shot = test::CaptureScreen();
                                         const DeviceBitmap* c = window.CalendarBitmap();
                                         *calendarSize = c ? SIZE{c->Width(), c->Height()} : SIZE{};
                                         return true;
                                     }}));
        return shot;
    }
    // Pixels of a rectangle of the screen, for comparing two shots region by region.
    static std::vector<std::uint32_t> Region(const Shot& s, int left, int top, int w, int h) {
        std::vector<std::uint32_t> out;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) out.push_back(s.At(x, y));
        return out;
    }

    test::TempFolder folder_;
    std::wstring picture_;
};

TEST_F(OverlayWindowTest, CalendarShowsTodayWithTheRowsTheMonthNeedsAndTheLocalesFirstDay) {
    const overlay::CalendarMetrics metrics = MeasureLikeTheWindow();
    struct Case {
        int year, month, day, firstDay, rows;
    };
    const Case cases[] = {{2026, 2, 10, 6, 4}, {2026, 2, 10, 0, 5}, {2026, 8, 1, 6, 6}};
    std::vector<Shot> shots;
    std::vector<overlay::CalendarLayout> layouts;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + " first day " + std::to_string(c.firstDay));
        SetClock(c.year, c.month, c.day, 10, 30);
        g_firstDay = c.firstDay;
        SIZE size{};
        shots.push_back(ShowCalendar(&size));
        const overlay::CalendarLayout layout =
            overlay::LayoutCalendar(metrics, {c.year, c.month, c.day}, c.firstDay);
        layouts.push_back(layout);
        EXPECT_EQ(layout.rows, c.rows);
        EXPECT_EQ(size.cx, layout.width);
        EXPECT_EQ(size.cy, layout.height);
        const int left = 240 - layout.margin - layout.width;
        const int top = 320 - layout.margin - layout.height;
        const Shot& s = shots.back();
        // Over black, the calendar is blended 6 tenths: amber 255,205,105 becomes 153,123,63.
        for (const overlay::DayCell& d : layout.days) {
            if (!d.today) continue;
            EXPECT_EQ(s.At(left + d.fill.left + 1, top + d.fill.top), 0x997B3Fu);
            // The gap above the highlight stays black.
            EXPECT_EQ(s.At(left + d.fill.left + 1, top + d.rect.top), 0u);
        }
        // Header grey 0x2D blended: 0x1B. Nothing is drawn outside the calendar.
        EXPECT_EQ(s.At(left + layout.headerBox.left, top + layout.headerBox.bottom - 1), 0x1B1B1Bu);
        EXPECT_EQ(s.At(left - 1, top + layout.height / 2), 0u);
        EXPECT_EQ(s.At(left + 2, top - 1), 0u);
    }
    // Sunday first: S M T W T F S; Monday first: M T W T F S S. The same letters look the same.
    const auto letter = [&](std::size_t shot, int column) {
        const overlay::CalendarLayout& l = layouts[shot];
        const int left = 240 - l.margin - l.width;
        const int top = 320 - l.margin - l.height;
        const Rect& r = l.weekdayCells[static_cast<std::size_t>(column)];
        return Region(shots[shot], left + r.left, top + r.top, r.Width(), r.Height());
    };
    EXPECT_EQ(letter(0, 0), letter(1, 6));  // S
    EXPECT_EQ(letter(0, 1), letter(1, 0));  // M
    EXPECT_NE(letter(0, 0), letter(1, 0));
}

TEST_F(OverlayWindowTest, ClockReadsTwelveHourTimeWithAmAndPm) {
    g_firstDay = 6;
    const overlay::CalendarMetrics metrics = MeasureLikeTheWindow();
    const overlay::CalendarLayout layout = overlay::LayoutCalendar(metrics, {2026, 3, 9}, 6);
    const int left = 240 - layout.margin - layout.width;
    const int top = 320 - layout.margin - layout.height;
    HDC screen = ::GetDC(nullptr);
    const auto clockFont = overlay::TahomaFont(165, FW_BOLD);
    const auto width = [&](const wchar_t* t) {
        return overlay::MeasureText(screen, clockFont.get(), t).cx;
    };
    const int th = overlay::MeasureText(screen, clockFont.get(), L"12:05").cy;
    const int digitsLeft = left + 3 * layout.margin;
    const int w1205 = width(L"12:05");
    const int w1200 = width(L"12:00");
    const int w107 = width(L"1:07");
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(w1205, w1200) << "Tahoma's digits are all one width";

    const auto shotAt = [&](int hour, int minute) {
        SetClock(2026, 3, 9, hour, minute);
        SIZE size{};
        return ShowCalendar(&size);
    };
    const Shot am1205 = shotAt(0, 5);
    const Shot pm1205 = shotAt(12, 5);
    const Shot pm1200 = shotAt(12, 0);
    const Shot pm107 = shotAt(13, 7);
    const auto digits = [&](const Shot& s, int w) { return Region(s, digitsLeft, top, w, th); };
    const int a = (3 * metrics.dayCellWidth) / 10;
    const auto meridiem = [&](const Shot& s, int w) {
        const int x = digitsLeft + w + a;
        return Region(s, x, top, 240 - layout.margin - x, th);
    };
    // 12:05 at midnight and at noon: the same digits, AM against PM.
    EXPECT_EQ(digits(am1205, w1205), digits(pm1205, w1205));
    EXPECT_NE(meridiem(am1205, w1205), meridiem(pm1205, w1205));
    // 12:00 PM: other minutes, the same PM.
    EXPECT_NE(digits(pm1200, w1205), digits(pm1205, w1205));
    EXPECT_EQ(meridiem(pm1200, w1200), meridiem(pm1205, w1205));
    // 13:07 reads 1:07: a narrower time with other digits.
    EXPECT_LT(w107, w1205);
    EXPECT_NE(digits(pm107, w107), digits(pm1205, w107));
}

std::wstring WindowsPath(const std::string& host) {
    std::wstring path = L"Z:" + Wide(host);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

struct WindowSearch {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && ::IsWindowVisible(window)) search->found = true;
    return TRUE;
}

TEST_F(OverlayWindowTest, ASecondInstanceHandsItsPictureOverAndEndsWithoutAWindow) {
    const std::string handedHost = folder_.File("Glimmora_001.jpg");
    test::WriteFileBytes(handedHost,
                         test::EncodeJpeg(test::NoisyGradient(240, 320, 3, 9), test::kRgb));
    const std::wstring handed = Wide(handedHost);
    DeviceBitmap expected;
    ASSERT_TRUE(LoadPicture(expected, handed.c_str(), 240, 320, 0, false));

    SlideshowWindow window;
    window.SetStart(picture_, false, 0);
    DWORD lifetime = 0;
    bool sawWindow = false;
    DWORD exitCode = 1;
    Shot shot;
    std::uint32_t interval = 0;
    bool running = false;
    ASSERT_TRUE(test::RunWindow(
        window, {test::Wait(400),
                 [&] {
                     std::wstring command =
                         L"\"" + WindowsPath(GLIMMORA_EXE) + L"\" " + handed + L" /7 /del";
                     STARTUPINFOW si{};
                     si.cb = sizeof si;
                     PROCESS_INFORMATION pi{};
                     const DWORD start = ::GetTickCount();
                     EXPECT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                                  0, nullptr, nullptr, &si, &pi));
                     if (!pi.hProcess) return true;
                     WindowSearch search{pi.dwProcessId, false};
                     while (::WaitForSingleObject(pi.hProcess, 5) == WAIT_TIMEOUT &&
                            ::GetTickCount() - start < 5000)
                         ::EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
                     lifetime = ::GetTickCount() - start;
                     sawWindow = search.found;
                     ::GetExitCodeProcess(pi.hProcess, &exitCode);
                     ::CloseHandle(pi.hThread);
                     ::CloseHandle(pi.hProcess);
                     return true;
                 },
                 [&] { return window.CurrentPath() == handed; }, test::Wait(300),
                 [&] {
                     shot = test::CaptureScreen();
                     interval = window.SlideInterval();
                     running = window.SlideshowRunning();
                     return true;
                 }}));
    EXPECT_LT(lifetime, 1000u);
    EXPECT_FALSE(sawWindow);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(::GetFileAttributesW(handed.c_str()), INVALID_FILE_ATTRIBUTES)
        << "deleted after showing";
    EXPECT_EQ(interval, 7000u);
    EXPECT_TRUE(running);
    int bad = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const std::uint8_t* p = expected.RowFromTop(y) + 3 * x;
            if (shot.At(x, y) != ((std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]))
                ++bad;
        }
    EXPECT_EQ(bad, 0);
}

}  // namespace
}  // namespace glimmora::device::viewer
