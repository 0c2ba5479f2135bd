#include "desktop/session/folder_watch_win.h"

namespace glimmora::desktop {

std::string WatchedFolderPath(const std::string& folder) {
    std::string path = folder;
    const bool driveRoot = path.size() == 3 && path[1] == ':';
    if (!driveRoot && !path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

IWatchDirChangeThread::IWatchDirChangeThread(bool createSuspended, HWND window,
                                             const std::string& folder, UINT message, WPARAM code)
    : window_(window), change_(INVALID_HANDLE_VALUE), message_(message), code_(code) {
    const std::string path = WatchedFolderPath(folder);
    stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    // Without a way to stop it, a watch could never end: then there is no watch at all.
    if (stopEvent_) {
        change_ = FindFirstChangeNotificationA(path.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    }
    if (!createSuspended) Resume();
}

IWatchDirChangeThread::~IWatchDirChangeThread() {
    Stop();
    EndThread();
    if (change_ != INVALID_HANDLE_VALUE) {
        FindCloseChangeNotification(change_);
        change_ = INVALID_HANDLE_VALUE;
    }
}

void IWatchDirChangeThread::Stop() {
    Terminate();
    if (stopEvent_) SetEvent(stopEvent_.get());
}

void IWatchDirChangeThread::Execute() {
    if (!stopEvent_) return;
    // The stop event comes first: when both are signalled, stopping wins.
    const HANDLE handles[2] = {stopEvent_.get(), change_};
    const DWORD count = change_ != INVALID_HANDLE_VALUE ? 2 : 1;
    for (;;) {
        const DWORD result = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait itself failed
        // Posted, never sent: the watch must not wait for the window's thread.
        PostMessageA(window_, message_, code_, 0);
        if (Terminated()) return;
        if (!FindNextChangeNotification(change_)) return;
    }
}

}  // namespace glimmora::desktop
