#include "tests/device/viewer/window_driver_win.h"

#include <memory>

namespace glimmora::test {

namespace {

struct Run {
    device::viewer::SlideshowWindow* window = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    DWORD deadline = 0;
    bool finished = false;
    bool busy = false;
};
Run* g_run = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Run& run = *g_run;
    if (run.busy || !run.window->Handle()) return;
    run.busy = true;
    if (run.next < run.steps.size() && run.steps[run.next]()) ++run.next;
    const bool timedOut = static_cast<LONG>(::GetTickCount() - run.deadline) > 0;
    if (run.next == run.steps.size() || timedOut) {
        run.finished = run.next == run.steps.size();
        // A message box still open would keep the window's loop from ending.
        while (HWND box = ::FindWindowW(L"#32770", nullptr)) {
            if (box == run.window->Handle()) break;
            ::EndDialog(box, IDOK);
            ::DestroyWindow(box);
        }
        ::EndDialog(run.window->Handle(), IDOK);
    }
    run.busy = false;
}

}  // namespace

bool RunWindow(device::viewer::SlideshowWindow& window, std::vector<Step> steps,
               std::uint32_t timeoutMs) {
    Run run;
    run.window = &window;
    run.steps = std::move(steps);
    run.deadline = ::GetTickCount() + timeoutMs;
    g_run = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, Tick);
    window.Run(::GetModuleHandleW(nullptr));
    ::KillTimer(nullptr, timer);
    g_run = nullptr;
    return run.finished;
}

Step Wait(std::uint32_t ms) {
    auto until = std::make_shared<DWORD>(0);
    return [until, ms] {
        if (*until == 0) *until = ::GetTickCount() + ms;
        return static_cast<LONG>(::GetTickCount() - *until) >= 0;
    };
}

Shot CaptureScreen() { return CaptureWindow(nullptr); }

Shot CaptureWindow(HWND window) {
    Shot shot;
    RECT client{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (window) ::GetClientRect(window, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(p, p + static_cast<std::size_t>(shot.width) * shot.height);
    for (std::uint32_t& v : shot.pixels) v &= 0x00FFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    return shot;
}

HWND FindMessageBox(const wchar_t* caption) { return ::FindWindowW(L"#32770", caption); }

std::wstring MessageBoxText(HWND box) {
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

void PostTap(HWND window, int x, int y) {
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace glimmora::test
