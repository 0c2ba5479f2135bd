// The wait cursor while something slow runs on the window's thread; the previous cursor
// comes back afterwards.
#pragma once

#include <windows.h>

namespace glimmora {

class WaitCursor {
  public:
    WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

}  // namespace glimmora
