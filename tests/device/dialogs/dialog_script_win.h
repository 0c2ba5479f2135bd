// Drives modal dialogs from inside their own message loops: each step runs at a tick of a
// thread timer, so it acts on whatever dialog is up at that moment (a nested message box
// or settings dialog included). A step returns false to be tried again at the next tick.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace glimmora::test {

class DialogScript {
  public:
    using Step = std::function<bool()>;
    DialogScript& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Runs `run` (which shows the dialog) with the steps ticking; a script that has not
    // finished within 10 s fails the test and closes what it left open.
    INT_PTR Run(const std::function<INT_PTR()>& run);

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
};

// A visible top-level window of this thread with exactly this caption, or null.
HWND FindThreadWindow(const std::wstring& caption);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Presses a button the way a click does.
void Click(HWND dialog, int id);
// A child's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, int id);
RECT ChildRect(HWND dialog, HWND control);
// The first child showing exactly `text` (statics have no id of their own).
HWND ChildWithText(HWND dialog, const wchar_t* text);
// A template rectangle in dialog units converted to the dialog's pixels.
RECT DialogUnits(HWND dialog, int x, int y, int w, int h);

// One control of a template: id (-1: found by its text), window class, text, rectangle in
// dialog units.
struct TemplateControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    int x, y, w, h;
};
// Checks every control the template lists: present, of its class, with its exact text and
// at its place.
void ExpectControls(HWND dialog, const std::vector<TemplateControl>& controls);

}  // namespace glimmora::test
