// The main window TCoreForm: the picture folder, the display settings, Start and Stop, the
// notification icon and its menu, and WM_SERVER_NOTIFY from the session, the folder watch
// and other copies of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/unique_gdi_win.h"
#include "common/unique_user_win.h"
#include "common/window_base_win.h"
#include "desktop/app/application_window_win.h"
#include "desktop/app/form_rules.h"
#include "desktop/app/tray_icon_win.h"
#include "desktop/settings/desktop_settings.h"
#include "desktop/pictures/picture_entry.h"
#include "desktop/settings/settings_store_win.h"

namespace glimmora::desktop {
class IPPC_RAPI_UploadThread;
}

namespace glimmora::desktop::app {

struct FormOptions {
    SettingsStore store;
    std::string remoteApiLibrary;  // empty: rapi.dll
    bool startArgument = false;    // launched with "/start"
};

class TCoreForm : public WindowBase<TCoreForm> {
  public:
    TCoreForm(ApplicationWindow& application, FormOptions options);
    ~TCoreForm();

    bool Running() const { return session_ != nullptr; }

  private:
    friend WindowBase<TCoreForm>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Window creation and its controls (form_controls_win.cpp).
    void CreateControls();
    void CreateFonts();
    HWND Control(int id) const { return GetDlgItem(handle(), id); }
    LRESULT ColourControl(HDC dc, HWND control, bool staticColour);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawBand(const DRAWITEMSTRUCT& item);
    void DrawFlatButton(const DRAWITEMSTRUCT& item);
    void DrawLine(const DRAWITEMSTRUCT& item);
    void SetHint(int id, const std::string& text);

    void FormCreate();
    void FormClose();
    void FormDestroy();

    void LoadSettings();
    void SaveSettings();
    void ShowPictureFolder();
    int LabelTextWidth(const std::string& text) const;

    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void SetSpin(int id, std::int32_t value);
    std::int32_t SpinValue(int id) const;
    std::string Text(int id) const;
    void ApplyEnabling();

    void OnCommand(int id, int code);
    void RADIO_DisplayOrderClick(int id);
    void CHECK_PPC_UseDefaultFolderClick();
    void EDIT_PocketPCFolderPathEnter();
    void EDIT_PocketPCFolderPathExit();
    void BTN_StartClick(bool byUser);
    void BTN_StopClick();
    void BTN_ChangeClick();
    void BTN_BrowseClick();
    void LABEL_URL_Click();
    void StopSessionAndWait();

    void OnServerNotify(WPARAM code);
    void OnTrayCallback(LPARAM mouse);
    void ShowIconMenu();

    ApplicationWindow& application_;
    FormOptions options_;
    HWND tooltip_ = nullptr;
    std::unique_ptr<TrayIcon> tray_;
    UINT taskbarCreated_ = 0;

    UniqueFont font_, boldFont_, bandFont_, webFont_, labelFont_;
    UniqueBrush windowBrush_, faceBrush_, shadowBrush_;
    UniqueIcon folderImage_, changeGlyph_, browseGlyph_, mainIcon_;

    // The window state of the settings between load and save.
    DesktopSettings settings_;
    bool folderFieldWasFilled_ = false;  // EDIT_PocketPCFolderPath's Tag
    PictureList pictures_;
    IPPC_RAPI_UploadThread* session_ = nullptr;
    UniqueHandle sessionThread_;  // stays valid after the self-freeing session object is gone
};

}  // namespace glimmora::desktop::app
