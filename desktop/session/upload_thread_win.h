// The session thread: one run of the desktop slideshow. It walks the picture folder tree,
// and for each picture, one interval apart, connects to the docked handheld, checks the
// handheld's stop signal, fits and re-encodes the picture, writes it to the handheld and
// starts the viewer on it. It reports to the main window with WM_SERVER_NOTIFY, owns the
// folder watch, remembers where it stopped and frees itself when its body returns.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/unique_win.h"
#include "desktop/session/folder_watch_win.h"
#include "desktop/pictures/picture_entry.h"
#include "desktop/session/remote_api_win.h"
#include "desktop/settings/settings_store_win.h"
#include "desktop/session/worker_thread_win.h"

namespace glimmora::desktop {

// The box shown when the remote API cannot be loaded, exactly as users know it.
inline constexpr char kRemoteApiErrorText[] =
    "Loading RAPI.DLL failed! \n\nGlimmora Desktop Image Server requires Microsoft ActiveSync  \n"
    "to run properly. Please have the latest version of Microsoft  \nActiveSync installed on "
    "your system and try running Glimmora  \nDesktop Image Server again.  ";
inline constexpr char kDesktopErrorCaption[] = " Error - Glimmora Desktop Image Server";

// How long a connection to the handheld may take before the session gives up on it.
inline constexpr DWORD kConnectWaitMs = 5000;

class IPPC_RAPI_UploadThread : public WorkerThread {
  public:
    // Made by the main window's Start, always suspended; the window then sets the three
    // properties below and resumes it. `rootFolder` ends with a backslash. The picture list is
    // the window's and must outlive the session; the session empties and refills it.
    // `startupDelay` is 0 for a start by the user; it and `interval` are seconds.
    IPPC_RAPI_UploadThread(HWND window, const std::string& rootFolder, PictureList& pictures,
                           std::uint8_t sortKey, bool ascending, std::int32_t startupDelay,
                           std::int32_t interval, bool showCalendar, bool createSuspended = true);
    ~IPPC_RAPI_UploadThread() override;

    // Set before Resume, read-only afterwards.
    // PPC_TempFilePath, trimmed, in the desktop's ANSI code page; empty = the default folder.
    void SetDeviceFolder(const std::string& folder) { deviceFolderSetting_ = folder; }
    void SetMaxKeptPictures(std::int32_t count) { maxKeptPictures_ = count; }
    void SetKeepPictures(bool keep) { keepPictures_ = keep; }

    // Set by the main window on NOTIFY_FOLDER_CHANGED: the root is listed again at its next wrap.
    void SetFolderChanged() { folderChanged_.store(1); }

    // Called by the main window on its own thread. Ends every wait of the session (start-up
    // delay, connection, interval), so the session ends within moments: a pass in progress
    // completes, no launch error is posted, and the last act is NOTIFY_SESSION_ENDED. The
    // caller then waits for the thread, handling sent messages meanwhile, on a handle taken
    // with DuplicateThreadHandle before this call (the object frees itself as it ends).
    void StopRequest();

    // For tests: another build of the remote API, and a scratch key instead of the user's.
    void SetRemoteApiLibrary(std::string name) { libraryName_ = std::move(name); }
    void SetSettingsStore(const SettingsStore& store) { settings_ = store; }

  protected:
    void Execute() override;

  private:
    struct Working;  // the thread body's state for one session
    enum class PassEnd { kContinue, kEndNow };

    PassEnd OnePicture(Working& state);
    // Fits, encodes and transfers the picture of this pass; moves the walk on past it unless
    // the write broke off part way, when the same picture goes again after the interval.
    void SendPicture(Working& state, const std::string& picture, DWORD started);
    bool Connect();
    // Both registry handshakes; false when the session must end (handheld stop, no viewer).
    bool Handshake(Working& state);
    void ChooseFolderAndScreen(Working& state);
    enum class TransferEnd { kDelivered, kNotCreated, kWriteBroken, kLaunchFailed };
    // kDelivered when the picture was written and the viewer started on it; kWriteBroken
    // when the write stopped part way (a full card, a link that broke), the file deleted if
    // the handheld still answered.
    TransferEnd Transfer(Working& state, const std::vector<std::uint8_t>& jpeg);
    bool StopSignalled() const;
    void Notify(unsigned int code);

    session::RemoteApiLibrary remote_;
    // CeRapiUninit for the stop request, published only while the whole library is loaded.
    std::atomic<rapi::PfnCeRapiUninit> stopUninit_{nullptr};
    std::string libraryName_ = session::kRemoteApiLibrary;
    SettingsStore settings_;

    const std::string rootFolder_;
    PictureList& pictures_;
    const std::uint8_t sortKey_;
    const bool ascending_;
    const std::int32_t interval_;
    const std::int32_t startupDelay_;
    const bool showCalendar_;
    bool keepPictures_ = false;
    std::string deviceFolderSetting_;
    std::int32_t maxKeptPictures_ = 1;
    const HWND window_;
    std::atomic<std::int32_t> folderChanged_{0};

    std::unique_ptr<IWatchDirChangeThread> watch_;
    // Both made with the object, so a stop request that comes before the body has started
    // still ends its first wait. Both manual-reset: once stopped, every later wait ends too.
    UniqueHandle stopEvent_;
    UniqueHandle wakeEvent_;
    // Set by the stop request with the wake event: the loop's "wake event closed". The event
    // itself stays open until the destructor, so no wait ever holds a closed handle.
    std::atomic<bool> woken_{false};
    // The connection record lives with the object: the library may still write its result
    // after the session stopped waiting for it.
    rapi::RapiInit connection_{};
};

}  // namespace glimmora::desktop
