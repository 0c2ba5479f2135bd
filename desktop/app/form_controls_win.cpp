// The main window's controls as standard child windows, made from the layout table, and
// how the few that are not plain standard controls look.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "desktop/app/core_form_win.h"
#include "desktop/app/form_layout.h"
#include "desktop/app/form_rules.h"
#include "resources/desktop/resource_ids.h"

namespace glimmora::desktop::app {

namespace {

HFONT MakeFont(const char* face, int height, int weight, int escapement = 0) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HICON LoadSmall(int id) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
}

bool InTopPanel(int id) { return id > PANEL_LocalRootDirInfoBase && id <= LABEL_Copyright; }

// The spin fields' page step: the arrows only know the step of 1 (arrow keys included).
LRESULT CALLBACK SpinPageKeys(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) {
        const int id = GetDlgCtrlID(edit);
        for (const SpinRange& range : kSpinRanges) {
            if (range.id != id) continue;
            char text[32] = {};
            GetWindowTextA(edit, text, sizeof text);
            const long long step = wParam == VK_PRIOR ? kSpinPageStep : -kSpinPageStep;
            const std::int32_t value = ClampSpinValue(
                SpinValueFromText(text, range.min, range.max) + step, range.min, range.max);
            SendMessageA(GetDlgItem(GetParent(edit), id + kSpinArrowsOffset), UDM_SETPOS32, 0,
                         value);
            SetWindowTextA(edit, std::to_string(value).c_str());
            return 0;
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, SpinPageKeys, 0);
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void TCoreForm::CreateFonts() {
    font_.reset(MakeFont("Arial", -11, FW_NORMAL));
    boldFont_.reset(MakeFont("Arial", -12, FW_BOLD));
    bandFont_.reset(MakeFont("Arial", -11, FW_BOLD, 900));
    webFont_.reset(MakeFont("Tahoma", -9, FW_NORMAL));
    windowBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    faceBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    shadowBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    folderImage_.reset(LoadSmall(kFolderImage));
    changeGlyph_.reset(LoadSmall(kChangeGlyph));
    browseGlyph_.reset(LoadSmall(kBrowseGlyph));
}

void TCoreForm::CreateControls() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlSpec& c = kControls[i];
        const char* cls = "STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        HFONT font = font_.get();
        switch (c.kind) {
            case ControlKind::kPanel: style |= SS_OWNERDRAW | WS_CLIPSIBLINGS; break;
            case ControlKind::kImage: style |= SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL; break;
            case ControlKind::kLabel: style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY; break;
            case ControlKind::kBoldLabel:
                style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
                font = boldFont_.get();
                break;
            case ControlKind::kLine: style |= SS_OWNERDRAW; break;
            case ControlKind::kFlatButton:
                cls = "BUTTON";
                style |= BS_OWNERDRAW;
                break;
            case ControlKind::kWebLabel:
                style |= SS_RIGHT | SS_NOPREFIX | SS_NOTIFY;
                font = webFont_.get();
                break;
            case ControlKind::kBand:
                style |= SS_OWNERDRAW;
                font = bandFont_.get();
                break;
            case ControlKind::kFiller: style |= SS_OWNERDRAW; break;
            case ControlKind::kGroupBox:
                cls = "BUTTON";
                style |= BS_GROUPBOX;
                break;
            case ControlKind::kRadio:
                cls = "BUTTON";
                style |= BS_RADIOBUTTON;
                break;
            case ControlKind::kCheck:
                cls = "BUTTON";
                style |= BS_CHECKBOX;
                break;
            case ControlKind::kSpin:
                cls = "EDIT";
                style |= ES_AUTOHSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::kEdit:
                cls = "EDIT";
                style |= ES_AUTOHSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::kButton:
                cls = "BUTTON";
                style |= BS_PUSHBUTTON;
                break;
        }
        // Each tab stop starts a group of its own; radios of one row form one group, so the
        // arrow keys move inside a row and Tab moves between rows.
        if (c.tabStop) style |= WS_TABSTOP | WS_GROUP;
        const HWND control =
            CreateWindowExA(exStyle, cls, c.caption, style, c.x, c.y, c.width, c.height, handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == ControlKind::kSpin) {
            const HWND arrows = CreateWindowExA(
                0, UPDOWN_CLASSA, "",
                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                    UDS_NOTHOUSANDS,
                0, 0, 0, 0, handle(),
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id + kSpinArrowsOffset)), instance,
                nullptr);
            SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control), 0);
            SetWindowSubclass(control, SpinPageKeys, 0, 0);
            for (const SpinRange& range : kSpinRanges) {
                if (range.id == c.id) SendMessageA(arrows, UDM_SETRANGE32, range.min, range.max);
            }
        }
        if (c.kind == ControlKind::kImage) {
            SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(folderImage_.get()), 0);
        }
    }
    // Panels lie behind their controls and never paint over them.
    for (int id : {PANEL_DisplayOrder, PANEL_LocalRootDirInfoBase}) {
        SetWindowPos(Control(id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    tooltip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, instance, nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void TCoreForm::SetHint(int id, const std::string& text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT TCoreForm::ColourControl(HDC dc, HWND control, bool staticColour) {
    const int id = GetDlgCtrlID(control);
    const ControlSpec* spec = FindControl(id);
    if (InTopPanel(id)) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        if (spec && spec->kind == ControlKind::kWebLabel)
            SetTextColor(dc, GetSysColor(COLOR_INACTIVECAPTION));
        return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
    const bool field =
        spec && (spec->kind == ControlKind::kSpin || spec->kind == ControlKind::kEdit);
    // Enabled fields in the window colour, disabled ones in the face colour.
    if (field && (!staticColour || IsWindowEnabled(control))) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(faceBrush_.get());
}

void TCoreForm::DrawBand(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, shadowBrush_.get());
    SelectObjectScope font(item.hDC, bandFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    char text[64] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    // Turned 90 degrees: read from bottom to top, starting at the band's lower end.
    TextOutA(item.hDC, item.rcItem.left + 5, item.rcItem.bottom - 4, text, lstrlenA(text));
}

void TCoreForm::DrawFlatButton(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(item.hDC, &item.rcItem, windowBrush_.get());
    RECT r = item.rcItem;
    if (pressed) DrawEdge(item.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
    const HICON glyph = item.CtlID == BTN_Change ? changeGlyph_.get() : browseGlyph_.get();
    const int top = (r.bottom - r.top - 16) / 2 + (pressed ? 1 : 0);
    DrawIconEx(item.hDC, r.left + 4 + (pressed ? 1 : 0), top, glyph, 16, 16, 0, nullptr, DI_NORMAL);
    char text[32] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    SelectObjectScope font(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT textRect{r.left + 22 + (pressed ? 1 : 0), r.top + (pressed ? 1 : 0), r.right, r.bottom};
    DrawTextA(item.hDC, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        DrawFocusRect(item.hDC, &focus);
    }
}

void TCoreForm::DrawItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case LABEL_Options: DrawBand(item); break;
        case LABEL_Empty: FillRect(item.hDC, &item.rcItem, shadowBrush_.get()); break;
        case PANEL_LocalRootDirInfoBase:
            FillRect(item.hDC, &item.rcItem, windowBrush_.get());
            break;
        case PANEL_DisplayOrder: break;  // borderless, in the face colour the window has anyway
        case Shape1: FillRect(item.hDC, &item.rcItem, faceBrush_.get()); break;
        case BTN_Change:
        case BTN_Browse: DrawFlatButton(item); break;
    }
}

}  // namespace glimmora::desktop::app
