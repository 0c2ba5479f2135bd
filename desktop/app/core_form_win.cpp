#include "desktop/app/core_form_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "common/wait_cursor_win.h"
#include "desktop/app/exception_box_win.h"
#include "desktop/app/form_layout.h"
#include "desktop/session/upload_thread_win.h"
#include "desktop/session/worker_thread_win.h"
#include "handoff/messages.h"

namespace glimmora::desktop::app {

namespace {

constexpr UINT kMenuStart = 500, kMenuStop = 510, kMenuOpenFolder = 520, kMenuConfigure = 530,
               kMenuExit = 540;

// Every control the enabling rule governs, with the part of the rule it follows.
enum class Rule { kAlways, kDirection, kDelay, kKept, kFolderEdit, kStop };
struct Governed {
    int id;
    Rule rule;
};
constexpr Governed kGoverned[] = {
    {GBOX_DisplayOrder, Rule::kAlways},
    {RADIO_DisplayOrder_Random, Rule::kAlways},
    {RADIO_DisplayOrder_Name, Rule::kAlways},
    {RADIO_DisplayOrder_Size, Rule::kAlways},
    {RADIO_DisplayOrder_Date, Rule::kAlways},
    {LABEL_PictureChangeInterval, Rule::kAlways},
    {SPIN_PictureChangeInterval, Rule::kAlways},
    {CHECK_AutoStart, Rule::kAlways},
    {CHECK_ShowCalendar, Rule::kAlways},
    {CHECK_DoNotRemoveTempFiles, Rule::kAlways},
    {BTN_Change, Rule::kAlways},
    {BTN_Start, Rule::kAlways},
    {RADIO_DisplayOrder_Ascending, Rule::kDirection},
    {RADIO_DisplayOrder_Descending, Rule::kDirection},
    {LABEL_StartupDelayAfterDocking, Rule::kDelay},
    {SPIN_StartupDelayAfterDocking, Rule::kDelay},
    {LABEL_PocketPCFolderPath, Rule::kKept},
    {CHECK_PPC_UseDefaultFolder, Rule::kKept},
    {LABEL_PocketPCTempFiles_MaxCount, Rule::kKept},
    {SPIN_PocketPCTempFiles_MaxCount, Rule::kKept},
    {EDIT_PocketPCFolderPath, Rule::kFolderEdit},
    {BTN_Stop, Rule::kStop},
};

bool Allowed(const Enabling& e, Rule rule) {
    switch (rule) {
        case Rule::kAlways: return e.always;
        case Rule::kDirection: return e.direction;
        case Rule::kDelay: return e.startupDelay;
        case Rule::kKept: return e.keptPictures;
        case Rule::kFolderEdit: return e.folderEdit;
        case Rule::kStop: return e.stop;
    }
    return false;
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

TCoreForm::TCoreForm(ApplicationWindow& application, FormOptions options)
    : application_(application), options_(std::move(options)) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = &TCoreForm::Proc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hIcon = LoadIconA(cls.hInstance, MAKEINTRESOURCEA(1));
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kMainClass;
    RegisterClassA(&cls);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowExA(WS_EX_CONTROLPARENT, kMainClass, kDesignCaption, style, x, y, width, height,
                    application_.handle(), nullptr, cls.hInstance, this);
    application_.SetMainWindow(handle());
}

TCoreForm::~TCoreForm() {
    // Its WM_DESTROY stops the session and removes the icon: the handlers need the whole form.
    DestroyWhileWhole();
}

LRESULT TCoreForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleReportingExceptions(handle(), 0, [&] { return Handle(message, wParam, lParam); });
}

LRESULT TCoreForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        if (tray_) tray_->Add();  // the shell restarted and forgot the icon
        return 0;
    }
    switch (message) {
        case WM_CREATE: FormCreate(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_DRAWITEM: DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                 true);
        case WM_CTLCOLOREDIT:
            return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                 false);
        case WM_SYSCOMMAND:
            // The close box, Alt+F4 and the minimize box all send the program to the
            // notification area; only "Exit" and another copy's "/close" end it.
            if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_MINIMIZE) {
                application_.Minimize();
                return 0;
            }
            break;
        case handoff::kWmServerNotify: OnServerNotify(wParam); return 0;
        case kWmTrayCallback: OnTrayCallback(lParam); return 0;
        case WM_SETCURSOR:
            // The web labels are links: the hand over them.
            if (reinterpret_cast<HWND>(wParam) == Control(LABEL_URL) ||
                reinterpret_cast<HWND>(wParam) == Control(LABEL_Copyright)) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_QUERYENDSESSION: return TRUE;  // shutdown is never refused
        case WM_ENDSESSION:
            // The system may end the process once this returns: close as "Exit" does, now.
            if (wParam) {
                FormClose();
                DestroyWindow(handle());
                options_.store.RemoveActiveWindowHandle();
            }
            return 0;
        case WM_CLOSE:
            FormClose();
            DestroyWindow(handle());
            return 0;
        case WM_DESTROY:
            FormDestroy();
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(handle(), message, wParam, lParam);
}

void TCoreForm::FormCreate() {
    CreateFonts();
    CreateControls();
    LoadSettings();
    // Folder names in the user's script need the menu font's character set.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTA labelFont{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        GetObjectA(font_.get(), sizeof labelFont, &labelFont) &&
        labelFont.lfCharSet != metrics.lfMenuFont.lfCharSet &&
        labelFont.lfCharSet != DEFAULT_CHARSET) {
        labelFont_.reset(CreateFontIndirectA(&metrics.lfMenuFont));
        SendMessageA(Control(LABEL_PictureFolderPath), WM_SETFONT,
                     reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
    }
    SetHint(LABEL_URL, kWebHint);
    SetHint(LABEL_Copyright, kWebHint);
    SetWindowTextA(handle(), kMainCaption);

    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    tray_ = std::make_unique<TrayIcon>(handle());
    tray_->Add();

    ApplyDefaultPictureFolder(settings_);
    ShowPictureFolder();
    SetChecked(
        settings_.fileSortAscending ? RADIO_DisplayOrder_Ascending : RADIO_DisplayOrder_Descending,
        true);
    const int tag = RadioTagForSortKey(settings_.fileSortBy);
    const int radio = RADIO_DisplayOrder_Random + tag;
    SetChecked(radio, true);
    RADIO_DisplayOrderClick(radio);
    SetSpin(SPIN_PictureChangeInterval, settings_.pictureChangeInterval);
    SetChecked(CHECK_AutoStart, settings_.autoStart);
    SetSpin(SPIN_StartupDelayAfterDocking, settings_.autoStartDelay);
    SetChecked(CHECK_ShowCalendar, settings_.showCalendar);
    SetChecked(CHECK_DoNotRemoveTempFiles, settings_.doNotRemoveTempFiles);
    SetSpin(SPIN_PocketPCTempFiles_MaxCount, settings_.ppcTempMaxFileCount);
    SetChecked(CHECK_PPC_UseDefaultFolder, Text(EDIT_PocketPCFolderPath).empty());
    ApplyEnabling();
    SetFocus(Control(BTN_Start));

    if (options_.startArgument) {
        application_.Minimize();
        PostMessageA(handle(), handoff::kWmServerNotify, handoff::kNotifyAutoStart, 0);
    }
}

void TCoreForm::FormClose() {
    if (IsWindowEnabled(Control(BTN_Start))) SaveSettings();
}

void TCoreForm::FormDestroy() {
    StopSessionAndWait();
    pictures_.clear();
    pictures_.shrink_to_fit();
    tray_.reset();
}

void TCoreForm::LoadSettings() {
    settings_ = options_.store.Load(handle());
    SetWindowTextA(Control(EDIT_PocketPCFolderPath), settings_.ppcTempFilePath.c_str());
}

void TCoreForm::SaveSettings() {
    if (Text(EDIT_PocketPCFolderPath).empty()) {
        SetChecked(CHECK_PPC_UseDefaultFolder, true);
        CHECK_PPC_UseDefaultFolderClick();
    }
    settings_.pictureChangeInterval = SpinValue(SPIN_PictureChangeInterval);
    settings_.autoStartDelay = SpinValue(SPIN_StartupDelayAfterDocking);
    settings_.ppcTempMaxFileCount = SpinValue(SPIN_PocketPCTempFiles_MaxCount);
    settings_.autoStart = Checked(CHECK_AutoStart);
    settings_.showCalendar = Checked(CHECK_ShowCalendar);
    settings_.doNotRemoveTempFiles = Checked(CHECK_DoNotRemoveTempFiles);
    settings_.ppcTempFilePath = Text(EDIT_PocketPCFolderPath);
    // Shown as it came, bounded now, so the field shows what is stored.
    for (const SpinRange& range : kSpinRanges) SetSpin(range.id, SpinValue(range.id));
    options_.store.Save(settings_);
}

int TCoreForm::LabelTextWidth(const std::string& text) const {
    const HWND label = Control(LABEL_PictureFolderPath);
    WindowDC dc(label);
    SelectObjectScope font(dc.get(),
                           reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void TCoreForm::ShowPictureFolder() {
    RECT panel{}, label{};
    GetWindowRect(Control(PANEL_LocalRootDirInfoBase), &panel);
    GetWindowRect(Control(LABEL_PictureFolderPath), &label);
    const int width = (panel.right - panel.left) - ((label.left - panel.left) + 10);
    const std::string& folder = settings_.imageFolderPath;
    const std::string shown = ShortenFolderLabel(
        folder, width, [this](const std::string& t) { return LabelTextWidth(t); });
    SetWindowTextA(Control(LABEL_PictureFolderPath), shown.c_str());
    for (int id : {IMG_FolderIcon, LABEL_FolderTitle, LABEL_PictureFolderPath}) SetHint(id, folder);
}

bool TCoreForm::Checked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCoreForm::SetChecked(int id, bool checked) {
    SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked) {
        // One radio of a row at a time.
        const ControlSpec* spec = FindControl(id);
        if (spec && spec->kind == ControlKind::kRadio) {
            const bool firstRow = id <= RADIO_DisplayOrder_Date;
            for (std::size_t i = 0; i < kControlCount; ++i) {
                const ControlSpec& other = kControls[i];
                if (other.kind != ControlKind::kRadio || other.id == id) continue;
                if ((other.id <= RADIO_DisplayOrder_Date) == firstRow) {
                    SendMessageA(Control(other.id), BM_SETCHECK, BST_UNCHECKED, 0);
                }
            }
        }
    }
}

std::string TCoreForm::Text(int id) const {
    const HWND control = Control(id);
    const int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data());
}

void TCoreForm::SetSpin(int id, std::int32_t value) {
    for (const SpinRange& range : kSpinRanges) {
        if (range.id == id) value = ClampSpinValue(value, range.min, range.max);
    }
    SendMessageA(Control(id + kSpinArrowsOffset), UDM_SETPOS32, 0, value);
    SetWindowTextA(Control(id), std::to_string(value).c_str());
}

std::int32_t TCoreForm::SpinValue(int id) const {
    for (const SpinRange& range : kSpinRanges) {
        if (range.id == id) return SpinValueFromText(Text(id), range.min, range.max);
    }
    return 0;
}

void TCoreForm::ApplyEnabling() {
    EnablingInputs in;
    in.running = session_ != nullptr;
    in.random = Checked(RADIO_DisplayOrder_Random);
    in.autoStart = Checked(CHECK_AutoStart);
    in.keepPictures = Checked(CHECK_DoNotRemoveTempFiles);
    in.useDefaultFolder = Checked(CHECK_PPC_UseDefaultFolder);
    const Enabling e = ComputeEnabling(in);
    for (const Governed& g : kGoverned) {
        const HWND control = Control(g.id);
        const bool enable = Allowed(e, g.rule);
        EnableWindow(control, enable);
        const HWND arrows = Control(g.id + kSpinArrowsOffset);
        if (arrows) EnableWindow(arrows, enable);
    }
    // A disabled control cannot keep the focus; Stop or Start takes it over.
    const HWND focus = GetFocus();
    if (!focus || (GetParent(focus) == handle() && !IsWindowEnabled(focus))) {
        SetFocus(Control(e.stop ? BTN_Stop : BTN_Start));
    }
}

void TCoreForm::OnCommand(int id, int code) {
    const ControlSpec* spec = FindControl(id);
    if (!spec) return;
    if (spec->kind == ControlKind::kRadio && code == BN_CLICKED) {
        SetChecked(id, true);
        RADIO_DisplayOrderClick(id);
        return;
    }
    if (spec->kind == ControlKind::kCheck && code == BN_CLICKED) {
        SetChecked(id, !Checked(id));
        if (id == CHECK_PPC_UseDefaultFolder) {
            CHECK_PPC_UseDefaultFolderClick();
        } else if (id == CHECK_AutoStart || id == CHECK_DoNotRemoveTempFiles) {
            ApplyEnabling();
        }
        return;
    }
    if (id == EDIT_PocketPCFolderPath) {
        if (code == EN_SETFOCUS) EDIT_PocketPCFolderPathEnter();
        if (code == EN_KILLFOCUS) EDIT_PocketPCFolderPathExit();
        return;
    }
    if (spec->kind == ControlKind::kSpin && code == EN_KILLFOCUS) {
        return;  // the text is read (and bounded) when saved
    }
    if (code == STN_CLICKED && (id == LABEL_URL || id == LABEL_Copyright)) {
        LABEL_URL_Click();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case BTN_Start: BTN_StartClick(true); break;
        case BTN_Stop: BTN_StopClick(); break;
        case BTN_Close: application_.Minimize(); break;
        case BTN_Change: BTN_ChangeClick(); break;
        case BTN_Browse: BTN_BrowseClick(); break;
    }
}

void TCoreForm::RADIO_DisplayOrderClick(int id) {
    const ControlSpec* spec = FindControl(id);
    if (!spec || spec->kind != ControlKind::kRadio) return;
    const RadioClick click = RadioClickForTag(spec->tag);
    if (click.setsSortKey) settings_.fileSortBy = click.sortKey;
    if (click.setsAscending) settings_.fileSortAscending = click.ascending;
    ApplyEnabling();
}

void TCoreForm::CHECK_PPC_UseDefaultFolderClick() {
    if (Checked(CHECK_PPC_UseDefaultFolder)) {
        SetWindowTextA(Control(EDIT_PocketPCFolderPath), "");
        EnableWindow(Control(EDIT_PocketPCFolderPath), FALSE);
        return;
    }
    ApplyEnabling();
    if (IsWindowVisible(handle())) SetFocus(Control(EDIT_PocketPCFolderPath));
}

void TCoreForm::EDIT_PocketPCFolderPathEnter() {
    folderFieldWasFilled_ = !Text(EDIT_PocketPCFolderPath).empty();
}

void TCoreForm::EDIT_PocketPCFolderPathExit() {
    if (folderFieldWasFilled_ && Text(EDIT_PocketPCFolderPath).empty()) {
        SetChecked(CHECK_PPC_UseDefaultFolder, true);
        CHECK_PPC_UseDefaultFolderClick();
    }
}

void TCoreForm::BTN_StartClick(bool byUser) {
    WaitCursor cursor;
    SaveSettings();
    if (session_) return;
    auto* session = new IPPC_RAPI_UploadThread(
        handle(), settings_.imageFolderPath, pictures_,
        static_cast<std::uint8_t>(settings_.fileSortBy), settings_.fileSortAscending,
        byUser ? 0 : settings_.autoStartDelay, settings_.pictureChangeInterval,
        settings_.showCalendar, true);
    session->SetDeviceFolder(TrimBlanks(Text(EDIT_PocketPCFolderPath)));
    session->SetMaxKeptPictures(settings_.ppcTempMaxFileCount);
    session->SetKeepPictures(settings_.doNotRemoveTempFiles);
    session->SetSettingsStore(options_.store);
    if (!options_.remoteApiLibrary.empty()) session->SetRemoteApiLibrary(options_.remoteApiLibrary);
    sessionThread_ = session->DuplicateThreadHandle();
    session_ = session;
    session->Resume();
    ApplyEnabling();
    tray_->SetIcon(kIconRunning);
}

void TCoreForm::StopSessionAndWait() {
    if (!session_) return;
    // The object frees itself as its thread ends: wait on a handle of our own.
    UniqueHandle thread = std::move(sessionThread_);
    session_->StopRequest();
    // The session's last act, NOTIFY_SESSION_ENDED, is sent to this window: it must be
    // handled inside the wait, or both threads would wait for each other.
    if (thread) WaitHandlingSentMessages(thread.get(), INFINITE);
}

void TCoreForm::BTN_StopClick() {
    WaitCursor cursor;
    StopSessionAndWait();
}

void TCoreForm::BTN_ChangeClick() {
    BROWSEINFOA info{};
    char chosen[MAX_PATH] = {};
    info.hwndOwner = handle();
    info.pszDisplayName = chosen;
    info.lpszTitle = kBrowserText;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(settings_.imageFolderPath.c_str());
    EnableWindow(application_.handle(), FALSE);
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    EnableWindow(application_.handle(), TRUE);
    if (!item) return;
    char path[MAX_PATH] = {};
    const bool got = SHGetPathFromIDListA(item, path) && path[0] != '\0';
    CoTaskMemFree(item);
    if (!got) return;
    settings_.imageFolderPath = WithTrailingBackslash(path);
    ShowPictureFolder();
    options_.store.ClearLastImageFilePath();
}

void TCoreForm::BTN_BrowseClick() {
    const HINSTANCE result = ShellExecuteA(handle(), "open", settings_.imageFolderPath.c_str(),
                                           nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        const std::string text = kFolderErrorText + settings_.imageFolderPath + "  ";
        MessageBoxA(handle(), text.c_str(), kErrorCaption, MB_ICONERROR | MB_OK);
    }
}

void TCoreForm::LABEL_URL_Click() {
    ShellExecuteA(nullptr, "open", kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TCoreForm::OnServerNotify(WPARAM code) {
    switch (code) {
        case handoff::kNotifyAutoStart:
            if (!Checked(CHECK_AutoStart)) return;
            if (IsWindowEnabled(Control(BTN_Stop))) BTN_StopClick();
            BTN_StartClick(false);
            return;
        case handoff::kNotifySessionEnded:
            session_ = nullptr;
            sessionThread_.reset();
            ApplyEnabling();
            tray_->SetIcon(kIconIdle);
            return;
        case handoff::kNotifyFolderChanged:
            if (session_) session_->SetFolderChanged();
            return;
        case handoff::kNotifyUploadBegin: tray_->SetIcon(kIconTransfer); return;
        case handoff::kNotifyUploadEnd:
            tray_->SetIcon(0);
            tray_->SetIcon(kIconRunning);
            return;
        case handoff::kNotifyLaunchFailed:
            if (IsWindowVisible(handle()) && !IsIconic(handle()) && !application_.Minimized()) {
                MessageBoxA(handle(), kLaunchFailedText, kErrorCaption, MB_ICONERROR | MB_OK);
            }
            return;
    }
}

void TCoreForm::OnTrayCallback(LPARAM mouse) {
    if (mouse == WM_LBUTTONUP) {
        application_.Restore();
    } else if (mouse == WM_RBUTTONUP) {
        ShowIconMenu();
    }
}

void TCoreForm::ShowIconMenu() {
    UniqueMenu menu(CreatePopupMenu());
    const bool canStart = IsWindowEnabled(Control(BTN_Start)) != FALSE;
    const bool canStop = IsWindowEnabled(Control(BTN_Stop)) != FALSE;
    AppendMenuA(menu.get(), MF_STRING | (canStart ? 0 : MF_GRAYED), kMenuStart, "Start");
    AppendMenuA(menu.get(), MF_STRING | (canStop ? 0 : MF_GRAYED), kMenuStop, "Stop");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, kMenuOpenFolder, "Open Picture Folder...");
    AppendMenuA(menu.get(), MF_STRING, kMenuConfigure, "Configure...");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, kMenuExit, "Exit");
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(handle());
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, handle(), nullptr));
    menu.reset();
    // Without it the menu would not close when the user clicks elsewhere.
    PostMessageA(handle(), WM_NULL, 0, 0);
    switch (command) {
        case kMenuStart:
            if (IsWindowEnabled(Control(BTN_Start))) BTN_StartClick(true);
            break;
        case kMenuStop:
            if (IsWindowEnabled(Control(BTN_Stop))) BTN_StopClick();
            break;
        case kMenuOpenFolder: BTN_BrowseClick(); break;
        case kMenuConfigure: application_.Restore(); break;
        case kMenuExit: PostMessageA(handle(), WM_CLOSE, 0, 0); break;
    }
}

}  // namespace glimmora::desktop::app
