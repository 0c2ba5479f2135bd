// The viewer's application object: reads the command line, hands a launch over to a
// slideshow window that already runs, or runs its own window modally.
#pragma once

#include <windows.h>

#include <string_view>

#include "handoff/command_line.h"

namespace glimmora::device::viewer {

// Writes the picture, interval and delete flag for the window named by RAPI_ThisHWND and
// posts it VIEWER_SHOW_PICTURE. False when no such window lives (or the key cannot be
// opened); a failed write does not stop the post.
bool HandOffToRunningViewer(const handoff::ViewerCommandLine& command);

class ViewerApp {
  public:
    // Parses and hands off. False when the launch went to a running window: this process
    // must then end without opening a window of its own, since a starting window would
    // wipe the values the running one is about to read.
    bool InitApplication(std::wstring_view commandLine);
    // Runs the slideshow window until it ends.
    void InitInstance(HINSTANCE instance);

    const handoff::ViewerCommandLine& Command() const { return command_; }

  private:
    handoff::ViewerCommandLine command_;
};

}  // namespace glimmora::device::viewer
