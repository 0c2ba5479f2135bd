#include "desktop/session/upload_thread_win.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <iterator>
#include <optional>
#include <vector>

#include "desktop/pictures/folder_listing.h"
#include "desktop/pictures/jpeg_encode.h"
#include "desktop/pictures/picture_fit.h"
#include "desktop/pictures/picture_order.h"
#include "desktop/session/device_folder.h"
#include "desktop/session/folder_walk.h"
#include "desktop/session/sent_picture_line.h"
#include "handoff/messages.h"
#include "handoff/picture_files.h"
#include "handoff/registry_names.h"

namespace glimmora::desktop {

namespace {

constexpr int kPersonalFolder = 5;  // CSIDL_PERSONAL on the handheld
constexpr DWORD kPathUnits = MAX_PATH;

// Seconds as a wait in milliseconds; never INFINITE, never negative.
DWORD SecondsToMs(std::int32_t seconds) {
    if (seconds <= 0) return 0;
    const unsigned long long ms = static_cast<unsigned long long>(seconds) * 1000ULL;
    return ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
}

std::wstring FromBuffer(const wchar_t* buffer, std::size_t units) {
    return std::wstring(buffer, wcsnlen(buffer, units));
}

// The desktop's ANSI text as the handheld's UTF-16, into at most MAX_PATH units (terminator
// included); a text that does not fit, or cannot be converted, gives an empty path.
std::wstring AnsiToDevice(const std::string& text) {
    if (text.empty()) return std::wstring();
    wchar_t buffer[kPathUnits] = {};
    const int units =
        MultiByteToWideChar(GetACP(), MB_PRECOMPOSED, text.c_str(), -1, buffer, kPathUnits);
    if (units <= 0) return std::wstring();
    return FromBuffer(buffer, kPathUnits);
}

// The remote API's answers for choosing the device folder.
class RemoteFolders : public session::DeviceFolderSource {
  public:
    explicit RemoteFolders(const session::RemoteApi& api) : api_(api) {}
    std::optional<std::wstring> PersonalFolder() override {
        wchar_t buffer[kPathUnits] = {};
        if (!api_.CeGetSpecialFolderPath(kPersonalFolder, kPathUnits, buffer)) return std::nullopt;
        buffer[kPathUnits - 1] = 0;
        return FromBuffer(buffer, kPathUnits);
    }
    std::optional<std::wstring> TempFolder() override {
        wchar_t buffer[kPathUnits] = {};
        if (!api_.CeGetTempPath(kPathUnits, buffer)) return std::nullopt;
        buffer[kPathUnits - 1] = 0;
        return FromBuffer(buffer, kPathUnits);
    }
    void CreateFolder(const std::wstring& path) override {
        api_.CeCreateDirectory(path.c_str(), nullptr);
    }

  private:
    const session::RemoteApi& api_;
};

bool SetDeviceDword(const session::RemoteApi& api, HKEY key, const wchar_t* name, DWORD value) {
    return api.CeRegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                               sizeof value) == ERROR_SUCCESS;
}

// A picture shrunk to the handheld's screen and encoded. Not `fitted`: it could not be
// decoded (or memory ran out), and is no picture to the session. Fitted with an empty `jpeg`:
// the encoding failed, and the picture counts as handled all the same.
struct FittedPicture {
    bool fitted = false;
    PictureSize sent{};
    FitReport report;
    std::vector<std::uint8_t> jpeg;
};

// One picture at a time: the bitmap is gone before the caller transfers the encoding.
FittedPicture FitAndEncode(const std::string& picture, int screenWidth, int screenHeight) {
    FittedPicture out;
    std::optional<Bitmap24> bitmap;
    try {
        bitmap = FitPicture(picture, screenWidth, screenHeight, &out.report);
    } catch (const std::exception&) {
        return out;  // out of memory: as if the picture could not be decoded
    }
    if (!bitmap) return out;
    out.fitted = true;
    out.sent = PictureSize{bitmap->width, bitmap->height};
    try {
        out.jpeg = EncodeJpeg(*bitmap);
    } catch (const std::exception&) {
        out.jpeg.clear();
    }
    return out;
}

}  // namespace

struct IPPC_RAPI_UploadThread::Working {
    // Desktop path of the last picture handled (fitted and handed to the transfer): the
    // resume point. A picture the session was about to send when it ended is not one of
    // them, or the next session, which resumes after the resume point, would skip it.
    std::string lastPicture;
    std::wstring launchPath;    // InstalledDirPath + "\Glimmora.exe", from the first connection
    std::wstring deviceFolder;  // chosen at the first connection that could choose one
    int counter = 1;            // number in the device file name
    int screenWidth = -1;
    int screenHeight = -1;
    bool wait = true;  // wait the interval after this pass
    // A picture was fitted since the last wrap at the root. The session may begin mid-tree,
    // after a resume point: only a whole round counts, so the first wrap never waits.
    bool pictureThisRound = true;
    std::unique_ptr<session::FolderWalk> walk;
};

IPPC_RAPI_UploadThread::IPPC_RAPI_UploadThread(HWND window, const std::string& rootFolder,
                                               PictureList& pictures, std::uint8_t sortKey,
                                               bool ascending, std::int32_t startupDelay,
                                               std::int32_t interval, bool showCalendar,
                                               bool createSuspended)
    : rootFolder_(rootFolder),
      pictures_(pictures),
      sortKey_(sortKey),
      ascending_(ascending),
      interval_(interval),
      startupDelay_(startupDelay),
      showCalendar_(showCalendar),
      window_(window),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      wakeEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    SetPriority(ThreadPriority::kLower);
    SetFreeOnTerminate(true);
    if (!createSuspended) Resume();
}

IPPC_RAPI_UploadThread::~IPPC_RAPI_UploadThread() {
    stopEvent_.reset();
    wakeEvent_.reset();
    stopUninit_.store(nullptr);
    remote_.Unload();
    if (watch_) {
        watch_->Stop();
        watch_.reset();  // waits for the watch thread to end
    }
}

void IPPC_RAPI_UploadThread::StopRequest() {
    Terminate();
    if (const rapi::PfnCeRapiUninit uninit = stopUninit_.load()) uninit();
    if (stopEvent_) SetEvent(stopEvent_.get());
    woken_.store(true);
    if (wakeEvent_) SetEvent(wakeEvent_.get());
}

bool IPPC_RAPI_UploadThread::StopSignalled() const {
    return stopEvent_ && WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0;
}

void IPPC_RAPI_UploadThread::Notify(unsigned int code) {
    SendMessageW(window_, handoff::kWmServerNotify, code, 0);
}

void IPPC_RAPI_UploadThread::Execute() {
    Working state;
    if (!remote_.Load(libraryName_.c_str())) {
        Terminate();
        const HWND owner = window_;
        Synchronize([owner] {
            MessageBoxA(owner, kRemoteApiErrorText, kDesktopErrorCaption, MB_ICONERROR | MB_OK);
        });
        Notify(handoff::kNotifySessionEnded);
        return;
    }
    stopUninit_.store(remote_.api().CeRapiUninit);

    if (startupDelay_ > 0 && wakeEvent_) {
        WaitForSingleObject(wakeEvent_.get(), SecondsToMs(startupDelay_));
    }
    if (!woken_.load()) {
        watch_ = std::make_unique<IWatchDirChangeThread>(true, window_, rootFolder_);
        watch_->Resume();
    }

    const std::uint8_t sortKey = sortKey_;
    const bool ascending = ascending_;
    state.walk = std::make_unique<session::FolderWalk>(
        rootFolder_, pictures_, SortKeyFromStored(sortKey_) == kSortRandom,
        [sortKey, ascending](const std::string& folder, PictureList& list) {
            ListFolder(folder, list, sortKey, ascending);
        },
        LocaleEqualsIgnoringCase);
    const std::string last = settings_.ReadLastImageFilePath();
    const DWORD attributes =
        last.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(last.c_str());
    state.walk->Resume(last, attributes != INVALID_FILE_ATTRIBUTES);

    while (!Terminated() && !woken_.load()) {
        state.counter = handoff::PictureCounterForPass(state.counter, maxKeptPictures_);
        state.wait = true;
        std::int32_t changed = folderChanged_.load();
        const std::int32_t before = changed;
        const session::PassKind kind = state.walk->Pass(changed);
        if (before != 0 && changed == 0) folderChanged_.store(0);
        if (kind == session::PassKind::kPicture) {
            if (OnePicture(state) == PassEnd::kEndNow) break;
        } else if (kind == session::PassKind::kWrapped) {
            // A whole round of the tree that fitted no picture (only empty subfolders, or
            // pictures that cannot be decoded and come back with every listing) would
            // otherwise start the next round at once, forever.
            state.wait = !state.pictureThisRound;
            state.pictureThisRound = false;
        } else if (kind != session::PassKind::kRootEmpty) {
            state.wait = false;
        }
        if (state.wait && !Terminated()) {
            if (!wakeEvent_ ||
                WaitForSingleObject(wakeEvent_.get(), SecondsToMs(interval_)) != WAIT_TIMEOUT) {
                Terminate();
            }
        }
    }

    if (!state.lastPicture.empty()) settings_.WriteLastImageFilePath(state.lastPicture);
    Notify(handoff::kNotifySessionEnded);
}

bool IPPC_RAPI_UploadThread::Connect() {
    connection_ = rapi::RapiInit{sizeof(rapi::RapiInit), nullptr, E_FAIL};
    if (FAILED(remote_.api().CeRapiInitEx(&connection_))) return false;
    // The stop event first: when both are signalled, stopping wins.
    HANDLE handles[2];
    DWORD count = 0;
    if (stopEvent_) handles[count++] = stopEvent_.get();
    handles[count++] = connection_.heRapiInit;
    const DWORD result = WaitForMultipleObjects(count, handles, FALSE, kConnectWaitMs);
    if (result == WAIT_OBJECT_0 + count - 1) return connection_.hrRapiInit == S_OK;
    if (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) {
        Terminate();
    } else if (stopEvent_ && result == WAIT_OBJECT_0) {
        Terminate();
    }
    return false;  // stopped, timed out, or the library handed out no usable event
}

bool IPPC_RAPI_UploadThread::Handshake(Working& state) {
    const session::RemoteApi& api = remote_.api();
    DWORD stop = 0;
    HKEY key = nullptr;
    if (state.launchPath.empty()) {
        if (api.CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, handoff::kDeviceAppKey, 0, 0, &key) ==
            ERROR_SUCCESS) {
            wchar_t dir[handoff::kPathValueBufferBytes / sizeof(wchar_t)] = {};
            DWORD type = 0, size = sizeof dir;
            if (api.CeRegQueryValueEx(key, handoff::kInstalledDirPath, nullptr, &type,
                                      reinterpret_cast<BYTE*>(dir), &size) == ERROR_SUCCESS) {
                // A value that fills the buffer has no terminator of its own.
                state.launchPath = handoff::ViewerProgramPath(
                    FromBuffer(dir, std::min<std::size_t>(size / sizeof(wchar_t), std::size(dir))));
            }
            api.CeRegCloseKey(key);
            if (api.CeRegOpenKeyEx(HKEY_CURRENT_USER, handoff::kDeviceAppKey, 0, 0, &key) ==
                ERROR_SUCCESS) {
                SetDeviceDword(api, key, handoff::kRapiStopSlideshow, 0);
                SetDeviceDword(api, key, handoff::kShowCalendar, showCalendar_ ? 1 : 0);
                api.CeRegCloseKey(key);
            }
        }
    } else if (api.CeRegOpenKeyEx(HKEY_CURRENT_USER, handoff::kDeviceAppKey, 0, 0, &key) ==
               ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof stop;
        if (api.CeRegQueryValueEx(key, handoff::kRapiStopSlideshow, nullptr, &type,
                                  reinterpret_cast<BYTE*>(&stop), &size) != ERROR_SUCCESS) {
            stop = 0;
        }
        if (showCalendar_ && stop == 0) SetDeviceDword(api, key, handoff::kShowCalendar, 1);
        api.CeRegCloseKey(key);
    }
    if (stop == 0 && !state.launchPath.empty()) return true;
    api.CeRapiUninit();
    Terminate();
    if (state.launchPath.empty() && !StopSignalled()) {
        PostMessageW(window_, handoff::kWmServerNotify, handoff::kNotifyLaunchFailed, 0);
    }
    return false;
}

void IPPC_RAPI_UploadThread::ChooseFolderAndScreen(Working& state) {
    const session::RemoteApi& api = remote_.api();
    RemoteFolders folders(api);
    // Converted first, then trimmed: in a multi-byte code page a trailing 0x5C byte may be
    // the second half of a character rather than a backslash.
    state.deviceFolder =
        session::ChooseDeviceFolder(AnsiToDevice(deviceFolderSetting_), keepPictures_, folders);
    if (state.screenWidth < 1) {
        state.screenWidth = session::ScreenSideOrDefault(api.CeGetSystemMetrics(SM_CXSCREEN),
                                                         session::kDefaultScreenWidth);
    }
    if (state.screenHeight < 1) {
        state.screenHeight = session::ScreenSideOrDefault(api.CeGetSystemMetrics(SM_CYSCREEN),
                                                          session::kDefaultScreenHeight);
    }
}

IPPC_RAPI_UploadThread::TransferEnd IPPC_RAPI_UploadThread::Transfer(
    Working& state, const std::vector<std::uint8_t>& jpeg) {
    const session::RemoteApi& api = remote_.api();
    const std::wstring file = handoff::DevicePictureName(state.deviceFolder, state.counter);
    const HANDLE handle = api.CeCreateFile(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return TransferEnd::kNotCreated;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(jpeg.size());
    const BOOL wrote = api.CeWriteFile(handle, jpeg.data(), size, &written, nullptr);
    api.CeCloseHandle(handle);
    // A short write leaves a truncated picture the viewer would show broken: it goes too.
    if (!wrote || written != size) {
        api.CeDeleteFile(file.c_str());
        return TransferEnd::kWriteBroken;
    }
    const std::wstring commandLine = handoff::ViewerLaunchArguments(file, interval_, keepPictures_);
    PROCESS_INFORMATION information{};
    if (!api.CeCreateProcess(state.launchPath.c_str(), commandLine.c_str(), nullptr, nullptr, FALSE,
                             0, nullptr, nullptr, nullptr, &information)) {
        Terminate();
        if (!StopSignalled()) {
            PostMessageW(window_, handoff::kWmServerNotify, handoff::kNotifyLaunchFailed, 0);
        }
        return TransferEnd::kLaunchFailed;
    }
    return TransferEnd::kDelivered;
}

IPPC_RAPI_UploadThread::PassEnd IPPC_RAPI_UploadThread::OnePicture(Working& state) {
    const std::string picture = state.walk->PicturePath();
    const DWORD started = GetTickCount();
    if (Connect()) {
        if (!Handshake(state)) return PassEnd::kEndNow;
        if (state.deviceFolder.empty()) ChooseFolderAndScreen(state);
        if (!state.deviceFolder.empty()) SendPicture(state, picture, started);
    }
    remote_.api().CeRapiUninit();
    return PassEnd::kContinue;
}

void IPPC_RAPI_UploadThread::SendPicture(Working& state, const std::string& picture,
                                         DWORD started) {
    const FittedPicture fit = FitAndEncode(picture, state.screenWidth, state.screenHeight);
    if (!fit.fitted) {
        state.walk->Drop();
        state.wait = false;
        return;
    }
    state.pictureThisRound = true;
    if (!fit.jpeg.empty()) {
        Notify(handoff::kNotifyUploadBegin);
        const TransferEnd end = Transfer(state, fit.jpeg);
        Notify(handoff::kNotifyUploadEnd);
        // A write that broke off part way (the card filled up, the handheld went away
        // mid-write) keeps the position and the counter: the same picture goes again after
        // the interval into the same file, over whatever part of it could not be deleted, so
        // no picture is lost to a passing fault.
        if (end == TransferEnd::kWriteBroken) return;
        // For a watching debugger only; without one this costs next to nothing.
        if (end == TransferEnd::kDelivered) {
            const std::string line = session::SentPictureLine(picture, fit.report.source, fit.sent,
                                                              GetTickCount() - started);
            OutputDebugStringA(line.c_str());
        }
    }
    state.lastPicture = picture;
    state.walk->Advance();
    state.counter = handoff::PictureCounterAfterPicture(state.counter, keepPictures_);
}

}  // namespace glimmora::desktop
