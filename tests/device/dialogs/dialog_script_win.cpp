#include "dialog_script_win.h"

#include <gtest/gtest.h>

namespace glimmora::test {

namespace {

DialogScript* current = nullptr;
constexpr UINT kTickMs = 50;
constexpr int kMaxTicks = 200;

BOOL CALLBACK EndEveryDialog(HWND window, LPARAM) {
    ::EndDialog(window, IDABORT);
    return TRUE;
}

}  // namespace

INT_PTR DialogScript::Run(const std::function<INT_PTR()>& run) {
    current = this;
    next_ = 0;
    ticks_ = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, &DialogScript::Tick);
    const INT_PTR result = run();
    ::KillTimer(nullptr, timer);
    current = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "the dialog ended before its script did";
    return result;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* self = current;
    if (!self || self->next_ >= self->steps_.size()) return;
    if (++self->ticks_ > kMaxTicks) {
        ADD_FAILURE() << "step " << self->next_ << " of the dialog script never finished";
        self->next_ = self->steps_.size();
        ::EnumThreadWindows(::GetCurrentThreadId(), EndEveryDialog, 0);
        return;
    }
    // The step may open a nested loop that ticks again; it counts as running meanwhile.
    const std::size_t index = self->next_;
    self->next_ = self->steps_.size() + 1;
    const bool done = self->steps_[index]();
    self->next_ = done ? index + 1 : index;
}

namespace {

struct CaptionSearch {
    const std::wstring* caption;
    HWND found;
};

// A named callback: 32-bit Windows wants it __stdcall, which a lambda cannot be.
BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (::IsWindowVisible(window) && WindowText(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::wstring& caption) {
    CaptionSearch search{&caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[512] = {};
    ::GetWindowTextW(window, buffer, 512);
    return buffer;
}

std::wstring ClassName(HWND window) {
    wchar_t buffer[128] = {};
    ::GetClassNameW(window, buffer, 128);
    return buffer;
}

void Click(HWND dialog, int id) { ::SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

HWND ChildWithText(HWND dialog, const wchar_t* text) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowText(child) == text) return child;
    }
    return nullptr;
}

RECT ChildRect(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ChildRect(HWND dialog, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT DialogUnits(HWND dialog, int x, int y, int w, int h) {
    // The dialog manager converts the position and the size each on its own.
    RECT position{x, y, w, h};
    ::MapDialogRect(dialog, &position);
    return RECT{position.left, position.top, position.left + position.right,
                position.top + position.bottom};
}

void ExpectControls(HWND dialog, const std::vector<TemplateControl>& controls) {
    for (const TemplateControl& c : controls) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        HWND control = c.id == -1 ? ChildWithText(dialog, c.text) : ::GetDlgItem(dialog, c.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(ClassName(control), c.className);
        if (c.text) {
            EXPECT_EQ(WindowText(control), c.text);
        }
        const RECT expected = DialogUnits(dialog, c.x, c.y, c.w, c.h);
        const RECT actual = ChildRect(dialog, control);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        // A drop-down list's height is its closed height, not the template's.
        if (c.className != std::wstring(L"ComboBox")) {
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
    }
}

}  // namespace glimmora::test
