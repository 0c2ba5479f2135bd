// What the session tests, the session benchmark and the link driver share: the scripted
// remote API loaded into the test process, a hidden window standing in for the main window
// that records every WM_SERVER_NOTIFY in order, and a run of one real session thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/window_base_win.h"
#include "desktop/pictures/picture_entry.h"
#include "desktop/session/upload_thread_win.h"
#include "tests/fakes/fake_rapi/fake_rapi_control.h"

namespace glimmora::test {

// The fake library, kept loaded by the test so its script and log outlive each session's
// own load and unload of it.
class FakeRapi {
  public:
    static constexpr char kName[] = "fake_rapi.dll";
    static constexpr char kLackingName[] = "fake_rapi_lacking.dll";

    FakeRapi();
    ~FakeRapi();
    FakeRapi(const FakeRapi&) = delete;
    FakeRapi& operator=(const FakeRapi&) = delete;
    bool ok() const { return reset_ && log_ && query_ && setStop_ && connections_; }
    void Reset(const fake_rapi::Script& script) { reset_(&script); }
    std::wstring Log() const;
    bool QueryDword(int root, const wchar_t* name, DWORD* value) const {
        return query_(root, name, value);
    }
    void SetStop(DWORD value) { setStop_(value); }
    int Connections() const { return connections_(); }

  private:
    HMODULE module_ = nullptr;
    fake_rapi::PfnReset reset_ = nullptr;
    fake_rapi::PfnLog log_ = nullptr;
    fake_rapi::PfnQueryDword query_ = nullptr;
    fake_rapi::PfnSetStop setStop_ = nullptr;
    fake_rapi::PfnConnections connections_ = nullptr;
};

// One call of the log: its time, its name and its arguments.
struct FakeCall {
    DWORD tick = 0;
    std::wstring name;
    std::vector<std::wstring> args;
};
std::vector<FakeCall> ParseFakeLog(const std::wstring& log);
std::vector<FakeCall> CallsNamed(const std::vector<FakeCall>& calls, const std::wstring& name);

struct Notice {
    WPARAM code = 0;
    bool sent = false;  // SendMessage (true) or PostMessage
    DWORD tick = 0;
};

// A hidden window of the calling thread that records every WM_SERVER_NOTIFY.
class NoticeWindow : public WindowBase<NoticeWindow> {
  public:
    NoticeWindow();
    HWND hwnd() const { return handle(); }
    // Run on the window's thread while the session waits for the notice to be handled.
    std::function<void(WPARAM code)> onNotice;
    std::vector<Notice> notices;
    bool ended() const;
    int Count(WPARAM code) const;
    std::vector<WPARAM> Codes() const;
    // Handles what was posted and is still queued.
    void DrainPosted();

  private:
    friend WindowBase<NoticeWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

// The session's parameters as the main window would give them.
struct SessionParams {
    std::string root;  // with trailing backslash
    std::uint8_t sortKey = 1;
    bool ascending = true;
    std::int32_t startupDelay = 0;
    std::int32_t interval = 0;
    bool showCalendar = false;
    std::string deviceFolder;
    std::int32_t maxKept = 5;
    bool keep = false;
    std::string library = FakeRapi::kName;
    std::string settingsKey;  // "\Software\..." under HKEY_CURRENT_USER
};

// Creates, configures and resumes one session; the caller waits with Wait. `stop` (optional)
// is called on this thread from the wait loop, with the elapsed time, until it returns true,
// and then the session's stop request is made.
class SessionRun {
  public:
    SessionRun(const SessionParams& params, desktop::PictureList& pictures, NoticeWindow& window);
    // Waits up to `ms` for the thread to end, handling sent messages. True when it ended.
    bool Wait(DWORD ms);
    // Stops the session (when it has not ended) and gives the milliseconds until its thread ended.
    DWORD StopAndTime(DWORD limitMs);
    HANDLE thread() const { return thread_.get(); }
    // The session, as the main window holds it: valid until its closing notice was handled.
    desktop::IPPC_RAPI_UploadThread* session() const { return session_; }

  private:
    desktop::IPPC_RAPI_UploadThread* session_;
    UniqueHandle thread_;
    NoticeWindow& window_;
};

// A scratch settings key under HKEY_CURRENT_USER, removed at the end.
class ScratchSettingsKey {
  public:
    ScratchSettingsKey();
    ~ScratchSettingsKey();
    ScratchSettingsKey(const ScratchSettingsKey&) = delete;
    ScratchSettingsKey& operator=(const ScratchSettingsKey&) = delete;
    const std::string& path() const { return path_; }  // with the leading backslash
    std::string ReadLastImage() const;
    void WriteLastImage(const std::string& value) const;

  private:
    std::string path_;
};

std::wstring Widen(const std::string& text);

}  // namespace glimmora::test
