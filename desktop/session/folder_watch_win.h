// The session's folder watch: tells the main window when file names change directly in the
// picture folder, so the session re-lists the folder at its next wrap.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_win.h"
#include "handoff/messages.h"
#include "desktop/session/worker_thread_win.h"

namespace glimmora::desktop {

// The folder as the change notification is asked to watch it: without a trailing
// delimiter, except for a drive root, since "C:" alone names the current folder of drive C
// rather than its root.
std::string WatchedFolderPath(const std::string& folder);

class IWatchDirChangeThread : public WorkerThread {
  public:
    // Watches `folder` (a trailing backslash is ignored) for files created, deleted or
    // renamed in it, not below it. Each change posts `message` with wParam `code` and
    // lParam 0 to `window` (the main window's folder-changed notice unless told otherwise).
    // A folder that cannot be watched gives no notices, and the thread still ends when
    // stopped.
    IWatchDirChangeThread(bool createSuspended, HWND window, const std::string& folder,
                          UINT message = handoff::kWmServerNotify,
                          WPARAM code = handoff::kNotifyFolderChanged);
    ~IWatchDirChangeThread() override;

    // Asks the thread to end; it ends promptly, whether or not the folder was watched.
    // Called by the session before it destroys the watch.
    void Stop();

  protected:
    void Execute() override;

  private:
    HWND window_;
    // FindFirstChangeNotificationA's handle (INVALID_HANDLE_VALUE when the folder could not
    // be watched). Closed only once the thread has ended: closing a handle another thread
    // is waiting on is not a reliable way to end that wait.
    HANDLE change_;
    UniqueHandle stopEvent_;  // manual-reset, so a stop before the first wait is not missed
    UINT message_;
    WPARAM code_;
};

}  // namespace glimmora::desktop
