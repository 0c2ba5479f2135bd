// The slideshow window under Wine on a handheld-sized screen, checked by what the screen
// shows and by the registry values it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/pictures/bitmap_ops.h"
#include "device/overlay/local_clock_win.h"
#include "device/pictures/picture_loader.h"
#include "device/viewer/app_key_win.h"
#include "device/viewer/slideshow_window_win.h"
#include "handoff/registry_names.h"
#include "resources/device/viewer_ids.h"
#include "tests/device/viewer/window_driver_win.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::device::viewer {
namespace {

using test::Shot;
using test::Step;

constexpr int kScreenW = 240;
constexpr int kScreenH = 320;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::uint32_t PixelOf(const DeviceBitmap& b, int x, int y) {
    const std::uint8_t* p = b.RowFromTop(y) + 3 * x;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

class SlideshowWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), kScreenW) << "run on a 240 x 320 screen";
        ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), kScreenH);
        ClearKey();
        overlay::SetLocalTimeSourceForTesting(nullptr);
        overlay::SetFirstDaySourceForTesting(nullptr);
        SetFadeHooksForTesting({});
    }
    void TearDown() override {
        ClearKey();
        overlay::SetLocalTimeSourceForTesting(nullptr);
        overlay::SetFirstDaySourceForTesting(nullptr);
        SetFadeHooksForTesting({});
    }
    static void ClearKey() {
        const AppKey key = AppKey::OpenOrCreate();
        for (const wchar_t* name :
             {handoff::kRapiThisHwnd, handoff::kRapiDisplayFileName, handoff::kRapiDisplayInterval,
              handoff::kRapiDeleteFile, handoff::kRapiStopSlideshow, handoff::kShowCalendar,
              L"Options", L"Slideshow_Interval"})
            key.Delete(name);
    }
    // A JPEG of w x h in the temporary folder; returns its full path.
    std::wstring Picture(const std::string& name, int w, int h, unsigned seed = 1) {
        const std::string path = folder_.File(name);
        test::WriteFileBytes(path,
                             test::EncodeJpeg(test::NoisyGradient(w, h, 3, seed), test::kRgb));
        return Wide(path);
    }
    static std::unique_ptr<DeviceBitmap> Expected(const std::wstring& path,
                                                  std::uint8_t orientation = kNormal) {
        auto b = std::make_unique<DeviceBitmap>();
        EXPECT_TRUE(LoadPicture(*b, path.c_str(), kScreenW, kScreenH, orientation, false));
        return b;
    }
    // Every screen pixel is the picture's at the window's pan offsets, black outside it.
    static int MismatchesWithPicture(const Shot& shot, const DeviceBitmap& picture, POINT pan,
                                     RECT skip = {}) {
        int bad = 0;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                if (x >= skip.left && x < skip.right && y >= skip.top && y < skip.bottom) continue;
                const int px = x + pan.x;
                const int py = y + pan.y;
                const bool inside =
                    px >= 0 && py >= 0 && px < picture.Width() && py < picture.Height();
                const std::uint32_t want = inside ? PixelOf(picture, px, py) : 0;
                if (shot.At(x, y) != want) ++bad;
            }
        }
        return bad;
    }

    test::TempFolder folder_;
};

TEST_F(SlideshowWindowTest, FileModeShowsThePictureCentredWithBlackMarginsOverTheWholeScreen) {
    const std::wstring path = Picture("small.jpg", 140, 100);
    const auto expected_owned = Expected(path);
    const DeviceBitmap& expected = *expected_owned;
    SlideshowWindow window;
    window.SetStart(path, false, 0);
    Shot shot;
    RECT rect{};
    LONG_PTR style = 0;
    std::wstring title(64, L'\0');
    ASSERT_TRUE(test::RunWindow(window, {test::Wait(500), [&] {
                                             shot = test::CaptureScreen();
                                             ::GetWindowRect(window.Handle(), &rect);
                                             style =
                                                 ::GetWindowLongPtrW(window.Handle(), GWL_STYLE);
                                             title.resize(static_cast<std::size_t>(::GetWindowTextW(
                                                 window.Handle(), title.data(), 64)));
                                             return true;
                                         }}));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, kScreenW);
    EXPECT_EQ(rect.bottom, kScreenH);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(title, L"small.jpg - Glimmora");
    // 140 x 100 on 240 x 320: 50-pixel margins left and right, 110 above and below.
    EXPECT_EQ(window.Pan().x, -50);
    EXPECT_EQ(window.Pan().y, -110);
    EXPECT_EQ(MismatchesWithPicture(shot, expected, {-50, -110}), 0);
    EXPECT_FALSE(window.SlideshowRunning());
    // The window's handle is published while it lives and removed afterwards.
    EXPECT_FALSE(AppKey::OpenOrCreate().ReadWindow(handoff::kRapiThisHwnd).has_value());
}

TEST_F(SlideshowWindowTest, AWidePictureIsPannedToItsCentreAndDraggedToItsEdges) {
    const std::wstring path = Picture("wide.jpg", 480, 320);
    const auto expected_owned = Expected(path);
    const DeviceBitmap& expected = *expected_owned;
    ASSERT_EQ(expected.Width(), 480);
    SlideshowWindow window;
    window.SetStart(path, false, 0);
    std::vector<POINT> pans;
    std::vector<int> mismatches;
    const auto drag = [&](int fromX, int toX) {
        return [&window, fromX, toX] {
            const HWND w = window.Handle();
            ::PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 160));
            for (int x = fromX; x != toX; x += (toX > fromX ? 10 : -10))
                ::PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 160));
            ::PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 160));
            ::PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(toX, 160));
            return true;
        };
    };
    const auto record = [&] {
        pans.push_back(window.Pan());
        mismatches.push_back(MismatchesWithPicture(test::CaptureScreen(), expected, window.Pan()));
        return true;
    };
    ASSERT_TRUE(
        test::RunWindow(window, {test::Wait(400), record, drag(120, 170), test::Wait(300), record,
                                 drag(20, 230), test::Wait(300), record, drag(230, 0),
                                 test::Wait(300), drag(230, 0), test::Wait(300), record}));
    ASSERT_EQ(pans.size(), 4u);
    EXPECT_EQ(pans[0].x, 120);               // centred
    EXPECT_EQ(pans[1].x, 70);                // followed the stylus 50 pixels to the right
    EXPECT_EQ(pans[2].x, 0);                 // stopped at the left edge
    EXPECT_EQ(pans[3].x, 240);               // and at the right edge
    for (POINT p : pans) EXPECT_EQ(p.y, 0);  // exactly the screen's height: never moves
    for (int m : mismatches) EXPECT_EQ(m, 0);
    // Drags never count as taps.
    EXPECT_FALSE(window.ButtonsShown());
}

// The image of a button resource as the window should draw it (turned with the picture).
std::unique_ptr<DeviceBitmap> ButtonImage(int id, std::uint8_t orientation) {
    auto owned = std::make_unique<DeviceBitmap>();
    DeviceBitmap& image = *owned;
    HBITMAP resource = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    EXPECT_NE(resource, nullptr) << id;
    image.Create(24, 24);
    HDC source = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(source, resource);
    ::BitBlt(static_cast<HDC>(image.GetMemoryDC()), 0, 0, 24, 24, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(resource);
    ::GdiFlush();
    if (orientation == kRotateLeft) TurnLeft(image);
    if (orientation == kRotateRight) TurnRight(image);
    return owned;
}

// Non-black pixels of the image are on screen at `at`; black ones show the picture through.
int ImageMismatches(const Shot& shot, const DeviceBitmap& image, Point at,
                    const DeviceBitmap& picture, POINT pan) {
    int bad = 0;
    int drawn = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const std::uint32_t own = PixelOf(image, x, y);
            const int sx = at.x + x;
            const int sy = at.y + y;
            const int px = sx + pan.x;
            const int py = sy + pan.y;
            const bool inside = px >= 0 && py >= 0 && px < picture.Width() && py < picture.Height();
            const std::uint32_t behind = inside ? PixelOf(picture, px, py) : 0;
            if (own != 0) ++drawn;
            if (shot.At(sx, sy) != (own != 0 ? own : behind)) ++bad;
        }
    }
    return drawn > 100 ? bad : -1;
}

TEST_F(SlideshowWindowTest, ATapShowsTheNameAndTheFourImagesAtTheirCornersForEachOrientation) {
    struct Case {
        std::uint8_t orientation;
        bool middle;  // three pictures with the middle one shown, else one picture alone
    };
    for (const Case c : {Case{kNormal, true}, Case{kNormal, false}, Case{kRotateLeft, true},
                         Case{kRotateRight, false}}) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation));
        test::TempFolder folder;
        const auto make = [&](const std::string& name) {
            test::WriteFileBytes(folder.File(name),
                                 test::EncodeJpeg(test::NoisyGradient(200, 150, 3, 3), test::kRgb));
            return Wide(folder.File(name));
        };
        std::wstring shown = make("b.jpg");
        if (c.middle) {
            make("a.jpg");
            make("c.jpg");
        }
        AppKey::OpenOrCreate().WriteDword(L"Options", std::uint32_t{c.orientation} << 28);
        const auto picture_owned = Expected(shown, c.orientation);
        const DeviceBitmap& picture = *picture_owned;
        SlideshowWindow window;
        window.SetStart(shown, false, 0);
        Shot before;
        Shot after;
        RECT banner{};
        ASSERT_TRUE(test::RunWindow(window, {test::Wait(400),
                                             [&] {
                                                 before = test::CaptureScreen();
                                                 test::PostTap(window.Handle(), 120, 160);
                                                 return true;
                                             },
                                             test::Wait(300),
                                             [&] {
                                                 after = test::CaptureScreen();
                                                 banner = window.BannerRect();
                                                 return true;
                                             }}));
        ASSERT_TRUE(window.ButtonsShown());
        const std::array<int, 4> ids =
            c.middle ? std::array<int, 4>{IDB_PREVIOUS, IDB_NEXT, IDB_CLOSE, IDB_SLIDESHOW}
                     : std::array<int, 4>{IDB_PREVIOUS_GREY, IDB_NEXT_GREY, IDB_CLOSE,
                                          IDB_SLIDESHOW_GREY};
        const ButtonRects rects = LayoutButtons(kScreenW, kScreenH, picture.orientation);
        for (NavButton b : {kPrevious, kNext, kClose, kSlideshow}) {
            EXPECT_EQ(ImageMismatches(after, *ButtonImage(ids[b], picture.orientation),
                                      ButtonImagePosition(b, rects[b], picture.orientation),
                                      picture, window.Pan()),
                      0)
                << "button " << b;
        }
        // The name banner sits at the turned picture's top-left corner: white frame, dark grey.
        ASSERT_LT(banner.left, banner.right);
        EXPECT_EQ(after.At(banner.left + 1, banner.top + 1), 0xFFFFFFu);
        EXPECT_EQ(after.At(banner.left + 3, banner.top + 3), 0x404040u);
        if (c.orientation == kRotateLeft) {
            EXPECT_EQ(banner.bottom, kScreenH);
        } else if (c.orientation == kRotateRight) {
            EXPECT_EQ(banner.right, kScreenW);
        } else {
            EXPECT_EQ(banner.left, 0);
        }
        EXPECT_EQ(MismatchesWithPicture(before, picture, window.Pan()), 0);
    }
}

TEST_F(SlideshowWindowTest, ATapWithin100MsOfALoadIsIgnoredWhole) {
    const std::wstring first = Picture("a.jpg", 200, 150, 1);
    Picture("b.jpg", 200, 150, 2);
    SlideshowWindow window;
    window.SetStart(first, false, 0);
    bool shownRightAfterLoad = true;
    bool shownLater = false;
    ASSERT_TRUE(test::RunWindow(window, {test::Wait(400),
                                         [&] {
                                             // The key pages to b.jpg; the tap queued behind it is
                                             // handled as the load ends.
                                             ::PostMessageW(window.Handle(), WM_KEYUP, VK_RIGHT, 0);
                                             test::PostTap(window.Handle(), 120, 160);
                                             return true;
                                         },
                                         test::Wait(300),
                                         [&] {
                                             shownRightAfterLoad = window.ButtonsShown();
                                             test::PostTap(window.Handle(), 120, 160);
                                             return true;
                                         },
                                         test::Wait(300),
                                         [&] {
                                             shownLater = window.ButtonsShown();
                                             return true;
                                         }}));
    EXPECT_EQ(window.CurrentPath(), Wide(folder_.File("b.jpg")));
    EXPECT_FALSE(shownRightAfterLoad);
    EXPECT_TRUE(shownLater);
}

TEST_F(SlideshowWindowTest, ManualPagingIntoABrokenFileNamesItAndDropsIt) {
    const std::wstring first = Picture("a.jpg", 200, 150, 1);
    const std::string broken = folder_.File("b.jpg");
    test::WriteFileBytes(broken, {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    const auto expected_owned = Expected(first);
    const DeviceBitmap& expected = *expected_owned;
    SlideshowWindow window;
    window.SetStart(first, false, 0);
    std::wstring text;
    Shot shot;
    ASSERT_TRUE(test::RunWindow(window, {test::Wait(400),
                                         [&] {
                                             ::PostMessageW(window.Handle(), WM_KEYDOWN, VK_RIGHT,
                                                            0);
                                             ::PostMessageW(window.Handle(), WM_KEYUP, VK_RIGHT, 0);
                                             return true;
                                         },
                                         [&] {
                                             HWND box = test::FindMessageBox(L" Error - Glimmora");
                                             if (!box) return false;
                                             text = test::MessageBoxText(box);
                                             ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                                             return true;
                                         },
                                         test::Wait(400),
                                         [&] {
                                             shot = test::CaptureScreen();
                                             return true;
                                         }}));
    EXPECT_EQ(text, L"Loading '" + Wide(broken) + L"' failed! Invalid or corrupted JPEG/JPG file.");
    EXPECT_EQ(window.List().pictureNames, std::vector<std::wstring>{L"a.jpg"});
    EXPECT_EQ(window.CurrentPath(), first);
    EXPECT_EQ(MismatchesWithPicture(shot, expected, window.Pan()), 0);
}

TEST_F(SlideshowWindowTest, TimedAdvanceWrapsAndCrossFadesInFourBlendedFrames) {
    const std::wstring first = Picture("a.jpg", 240, 320, 1);
    const std::wstring second = Picture("b.jpg", 240, 320, 2);
    const auto a_owned = Expected(first);
    const DeviceBitmap& a = *a_owned;
    const auto b_owned = Expected(second);
    const DeviceBitmap& b = *b_owned;
    std::vector<Shot> frames;
    SetFadeHooksForTesting(
        {nullptr, [&](HWND w, int) { frames.push_back(test::CaptureWindow(w)); }});
    SlideshowWindow window;
    window.SetStart(second, false, 1000);  // desktop mode on the last picture, 1 s
    ASSERT_TRUE(
        test::RunWindow(window, {[&] { return window.CurrentPath() == first; }, test::Wait(300)}));
    ASSERT_EQ(frames.size(), 4u);
    // Frame n blends 2n tenths of a toward what was on screen, step on step.
    DeviceBitmap blend;
    ASSERT_TRUE(blend.Create(240, 320));
    for (int y = 0; y < 320; ++y) std::memcpy(blend.RowFromTop(y), b.RowFromTop(y), 240 * 3);
    for (std::size_t n = 0; n < frames.size(); ++n) {
        ASSERT_TRUE(BlendStep(blend, a));
        EXPECT_EQ(MismatchesWithPicture(frames[n], blend, {0, 0}), 0) << "frame " << n + 1;
    }
    EXPECT_TRUE(window.FadeEnabled());
}

TEST_F(SlideshowWindowTest, ASlowFadeStepGivesTheFadeUpForGood) {
    const std::wstring first = Picture("a.jpg", 240, 320, 1);
    const std::wstring second = Picture("b.jpg", 240, 320, 2);
    int frames = 0;
    int steps = 0;
    SetFadeHooksForTesting({[&](int) {
                                if (++steps == 1) ::Sleep(600);
                            },
                            [&](HWND, int) { ++frames; }});
    SlideshowWindow window;
    window.SetStart(second, false, 700);
    int advances = 0;
    std::wstring last = second;
    ASSERT_TRUE(test::RunWindow(window, {[&] {
                                    if (window.CurrentPath() != last) {
                                        last = window.CurrentPath();
                                        ++advances;
                                    }
                                    return advances == 2;
                                }}));
    EXPECT_EQ(steps, 1);  // the second advance did not fade at all
    EXPECT_EQ(frames, 0);
    EXPECT_FALSE(window.FadeEnabled());
}

TEST_F(SlideshowWindowTest, StopWritesTheStopValueAndSaysSo) {
    const std::wstring path = Picture("a.jpg", 200, 150);
    Picture("b.jpg", 200, 150, 2);
    AppKey::OpenOrCreate().WriteDword(handoff::kShowCalendar, 1);
    SlideshowWindow window;
    window.SetStart(path, false, 60000);
    std::wstring text;
    std::optional<std::uint32_t> stop;
    bool calendarAfter = true;
    bool running = true;
    ASSERT_TRUE(test::RunWindow(
        window, {test::Wait(400),
                 [&] {
                     EXPECT_TRUE(window.SlideshowRunning());
                     EXPECT_TRUE(window.CalendarEnabled());
                     const Rect r = window.Buttons()[kSlideshow];
                     test::PostTap(window.Handle(), r.left + 10, r.top + 10);
                     return true;
                 },
                 [&] {
                     HWND box = test::FindMessageBox(L" Glimmora");
                     if (!box) return false;
                     text = test::MessageBoxText(box);
                     stop = AppKey::OpenOrCreate().ReadDword(handoff::kRapiStopSlideshow);
                     calendarAfter =
                         AppKey::OpenOrCreate().ReadDword(handoff::kShowCalendar).has_value();
                     ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                     return true;
                 },
                 test::Wait(200),
                 [&] {
                     running = window.SlideshowRunning();
                     return true;
                 }}));
    EXPECT_EQ(text, L"Slideshow Stopped.");
    EXPECT_EQ(stop, std::optional<std::uint32_t>(1));
    EXPECT_FALSE(calendarAfter);
    EXPECT_FALSE(running);
    EXPECT_FALSE(window.CalendarEnabled());
}

TEST_F(SlideshowWindowTest, CloseReportsTheStopAndEndsTheWindow) {
    const std::wstring path = Picture("a.jpg", 200, 150);
    SlideshowWindow window;
    window.SetStart(path, false, 0);
    const DWORD start = ::GetTickCount();
    // The steps never finish: only the Close button can end the window before the timeout.
    EXPECT_FALSE(test::RunWindow(window,
                                 {test::Wait(400),
                                  [&] {
                                      const Rect r = window.Buttons()[kClose];
                                      test::PostTap(window.Handle(), r.left + 10, r.top + 10);
                                      return true;
                                  },
                                  [] { return false; }},
                                 5000));
    EXPECT_LT(::GetTickCount() - start, 3000u);
    EXPECT_EQ(AppKey::OpenOrCreate().ReadDword(handoff::kRapiStopSlideshow),
              std::optional<std::uint32_t>(1));
}

TEST_F(SlideshowWindowTest, WmCloseFromOutsideEndsTheWindowAsCloseDoes) {
    const std::wstring path = Picture("a.jpg", 200, 150);
    SlideshowWindow window;
    window.SetStart(path, false, 0);
    const DWORD start = ::GetTickCount();
    bool registered = false;
    // What a task manager sends; only it can end the window before the timeout.
    EXPECT_FALSE(test::RunWindow(
        window,
        {test::Wait(400),
         [&] {
             registered = AppKey::OpenOrCreate().ReadWindow(handoff::kRapiThisHwnd).has_value();
             ::PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
             return true;
         },
         [] { return false; }},
        5000));
    EXPECT_LT(::GetTickCount() - start, 3000u);
    EXPECT_TRUE(registered);
    EXPECT_EQ(AppKey::OpenOrCreate().ReadDword(handoff::kRapiStopSlideshow),
              std::optional<std::uint32_t>(1));
    EXPECT_FALSE(AppKey::OpenOrCreate().ReadWindow(handoff::kRapiThisHwnd).has_value());
}

}  // namespace
}  // namespace glimmora::device::viewer
