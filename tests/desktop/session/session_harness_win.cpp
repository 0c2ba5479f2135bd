#include "tests/desktop/session/session_harness_win.h"

#include <shlwapi.h>

#include <atomic>

#include "desktop/settings/settings_store_win.h"
#include "desktop/session/worker_thread_win.h"
#include "handoff/messages.h"

namespace glimmora::test {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
    out.resize(static_cast<std::size_t>(n - 1));
    return out;
}

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

FakeRapi::FakeRapi() : module_(LoadLibraryA(kName)) {
    if (!module_) return;
    reset_ = Export<fake_rapi::PfnReset>(module_, "FakeRapi_Reset");
    log_ = Export<fake_rapi::PfnLog>(module_, "FakeRapi_Log");
    query_ = Export<fake_rapi::PfnQueryDword>(module_, "FakeRapi_QueryDword");
    setStop_ = Export<fake_rapi::PfnSetStop>(module_, "FakeRapi_SetStop");
    connections_ = Export<fake_rapi::PfnConnections>(module_, "FakeRapi_Connections");
}

FakeRapi::~FakeRapi() {
    if (module_) FreeLibrary(module_);
}

std::wstring FakeRapi::Log() const {
    const DWORD units = log_(nullptr, 0);
    std::wstring text(units, L'\0');
    log_(text.data(), units);
    text.resize(units ? units - 1 : 0);
    return text;
}

std::vector<FakeCall> ParseFakeLog(const std::wstring& log) {
    std::vector<FakeCall> calls;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find(L'\n', start);
        if (end == std::wstring::npos) end = log.size();
        const std::wstring line = log.substr(start, end - start);
        start = end + 1;
        const std::size_t space = line.find(L' ');
        if (space == std::wstring::npos) continue;
        FakeCall call;
        call.tick = static_cast<DWORD>(std::stoul(line.substr(0, space)));
        std::wstring rest = line.substr(space + 1);
        std::size_t field = 0;
        bool first = true;
        for (;;) {
            const std::size_t bar = rest.find(L'|', field);
            const std::wstring part =
                rest.substr(field, bar == std::wstring::npos ? std::wstring::npos : bar - field);
            if (first) {
                call.name = part;
                first = false;
            } else {
                call.args.push_back(part);
            }
            if (bar == std::wstring::npos) break;
            field = bar + 1;
        }
        calls.push_back(call);
    }
    return calls;
}

std::vector<FakeCall> CallsNamed(const std::vector<FakeCall>& calls, const std::wstring& name) {
    std::vector<FakeCall> out;
    for (const FakeCall& c : calls) {
        if (c.name == name) out.push_back(c);
    }
    return out;
}

namespace {
constexpr wchar_t kNoticeClass[] = L"GlimmoraSessionTestWindow";
}

NoticeWindow::NoticeWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = &NoticeWindow::Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kNoticeClass;
    RegisterClassW(&cls);  // fails harmlessly when already registered
    // A real top-level window that is never shown: the error box needs an owner that is one.
    CreateWindowExW(0, kNoticeClass, L"session test window", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                    nullptr, cls.hInstance, this);
}

LRESULT NoticeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == handoff::kWmServerNotify) {
        notices.push_back({wParam, InSendMessage() != FALSE, GetTickCount()});
        if (onNotice) onNotice(wParam);
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

bool NoticeWindow::ended() const { return Count(handoff::kNotifySessionEnded) > 0; }

int NoticeWindow::Count(WPARAM code) const {
    int n = 0;
    for (const Notice& notice : notices) n += notice.code == code ? 1 : 0;
    return n;
}

std::vector<WPARAM> NoticeWindow::Codes() const {
    std::vector<WPARAM> codes;
    for (const Notice& notice : notices) codes.push_back(notice.code);
    return codes;
}

void NoticeWindow::DrainPosted() {
    MSG msg;
    while (PeekMessageW(&msg, handle(), 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

SessionRun::SessionRun(const SessionParams& p, desktop::PictureList& pictures, NoticeWindow& window)
    : window_(window) {
    session_ =
        new desktop::IPPC_RAPI_UploadThread(window.hwnd(), p.root, pictures, p.sortKey, p.ascending,
                                            p.startupDelay, p.interval, p.showCalendar, true);
    session_->SetDeviceFolder(p.deviceFolder);
    session_->SetMaxKeptPictures(p.maxKept);
    session_->SetKeepPictures(p.keep);
    session_->SetRemoteApiLibrary(p.library);
    if (!p.settingsKey.empty())
        session_->SetSettingsStore(desktop::SettingsStore(HKEY_CURRENT_USER, p.settingsKey));
    thread_ = session_->DuplicateThreadHandle();
    session_->Resume();
}

bool SessionRun::Wait(DWORD ms) {
    return desktop::WaitHandlingSentMessages(thread_.get(), ms) == WAIT_OBJECT_0;
}

DWORD SessionRun::StopAndTime(DWORD limitMs) {
    const DWORD start = GetTickCount();
    // The object exists until its closing notice has been handled on this thread.
    if (!window_.ended()) session_->StopRequest();
    Wait(limitMs);
    return GetTickCount() - start;
}

namespace {
std::atomic<int> g_keys{0};
}

ScratchSettingsKey::ScratchSettingsKey()
    : path_("\\Software\\GlimmoraTests\\session-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(g_keys++)) {
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str() + 1);
}

ScratchSettingsKey::~ScratchSettingsKey() { SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str() + 1); }

std::string ScratchSettingsKey::ReadLastImage() const {
    return desktop::SettingsStore(HKEY_CURRENT_USER, path_).ReadLastImageFilePath();
}

void ScratchSettingsKey::WriteLastImage(const std::string& value) const {
    desktop::SettingsStore(HKEY_CURRENT_USER, path_).WriteLastImageFilePath(value);
}

}  // namespace glimmora::test
