#include "desktop/app/form_layout.h"

#include <iterator>

#include "desktop/settings/desktop_settings.h"

namespace glimmora::desktop::app {

using K = ControlKind;

const ControlSpec kControls[] = {
    {PANEL_LocalRootDirInfoBase, "PANEL_LocalRootDirInfoBase", K::kPanel, "", 0, 0, 302, 95, false,
     0},
    {IMG_FolderIcon, "IMG_FolderIcon", K::kImage, "", 8, 6, 16, 16, false, 0},
    {LABEL_FolderTitle, "LABEL_FolderTitle", K::kBoldLabel, "Picture(JPEG/JPG) Folder Path", 30, 7,
     260, 15, false, 0},
    {LABEL_PictureFolderPath, "LABEL_PictureFolderPath", K::kLabel, "", 30, 24, 262, 14, false, 0},
    {Shape1, "Shape1", K::kLine, "", 30, 46, 210, 1, false, 0},
    {BTN_Change, "BTN_Change", K::kFlatButton, "Change", 30, 54, 70, 24, true, 0},
    {BTN_Browse, "BTN_Browse", K::kFlatButton, "Browse", 104, 54, 70, 24, true, 0},
    {LABEL_URL, "LABEL_URL", K::kWebLabel, kWebAddress, 178, 62, 118, 13, false, 0},
    {LABEL_Copyright, "LABEL_Copyright", K::kWebLabel, kCopyrightLine, 178, 76, 118, 13, false, 0},
    {LABEL_Options, "LABEL_Options", K::kBand, "   Options", 0, 98, 25, 240, false, 0},
    {LABEL_Empty, "LABEL_Empty", K::kFiller, " ", 0, 340, 25, 31, false, 0},
    {GBOX_DisplayOrder, "GBOX_DisplayOrder", K::kGroupBox, " Display Order ", 32, 97, 264, 72,
     false, 0},
    {RADIO_DisplayOrder_Random, "RADIO_DisplayOrder_Random", K::kRadio, "Random", 42, 115, 64, 17,
     true, 0},
    {RADIO_DisplayOrder_Name, "RADIO_DisplayOrder_Name", K::kRadio, "Name", 112, 115, 56, 17, false,
     1},
    {RADIO_DisplayOrder_Size, "RADIO_DisplayOrder_Size", K::kRadio, "Size", 172, 115, 52, 17, false,
     2},
    {RADIO_DisplayOrder_Date, "RADIO_DisplayOrder_Date", K::kRadio, "Date", 228, 115, 56, 17, false,
     3},
    {PANEL_DisplayOrder, "PANEL_DisplayOrder", K::kPanel, "", 34, 138, 260, 28, false, 0},
    {RADIO_DisplayOrder_Ascending, "RADIO_DisplayOrder_Ascending", K::kRadio, "Ascending", 42, 143,
     84, 17, true, 4},
    {RADIO_DisplayOrder_Descending, "RADIO_DisplayOrder_Descending", K::kRadio, "Descending", 130,
     143, 96, 17, false, 5},
    {LABEL_PictureChangeInterval, "LABEL_PictureChangeInterval", K::kLabel,
     "Picture Change Interval (sec.)", 34, 180, 172, 14, false, 0},
    {SPIN_PictureChangeInterval, "SPIN_PictureChangeInterval", K::kSpin, "", 210, 176, 82, 20, true,
     0},
    {CHECK_AutoStart, "CHECK_AutoStart", K::kCheck, "Auto Start", 34, 199, 160, 17, true, 0},
    {LABEL_StartupDelayAfterDocking, "LABEL_StartupDelayAfterDocking", K::kLabel,
     "Start-up Delay After Docking (sec.)", 34, 222, 174, 14, false, 0},
    {SPIN_StartupDelayAfterDocking, "SPIN_StartupDelayAfterDocking", K::kSpin, "", 210, 218, 82, 20,
     true, 0},
    {CHECK_ShowCalendar, "CHECK_ShowCalendar", K::kCheck, "Show Calendar / Clock", 34, 241, 200, 17,
     true, 0},
    {CHECK_DoNotRemoveTempFiles, "CHECK_DoNotRemoveTempFiles", K::kCheck,
     "Do Not Remove Temporary Pictures on PocketPC", 34, 260, 262, 17, true, 0},
    {LABEL_PocketPCFolderPath, "LABEL_PocketPCFolderPath", K::kLabel, "PocketPC Folder Path", 50,
     281, 116, 14, false, 0},
    {EDIT_PocketPCFolderPath, "EDIT_PocketPCFolderPath", K::kEdit, "", 50, 297, 195, 20, true, 0},
    {CHECK_PPC_UseDefaultFolder, "CHECK_PPC_UseDefaultFolder", K::kCheck, "Use Default Folder", 172,
     279, 124, 17, true, 0},
    {LABEL_PocketPCTempFiles_MaxCount, "LABEL_PocketPCTempFiles_MaxCount", K::kLabel, "Max. Count",
     50, 323, 60, 14, false, 0},
    {SPIN_PocketPCTempFiles_MaxCount, "SPIN_PocketPCTempFiles_MaxCount", K::kSpin, "", 112, 319, 60,
     20, true, 0},
    {BTN_Start, "BTN_Start", K::kButton, "Start", 66, 344, 70, 25, true, 0},
    {BTN_Stop, "BTN_Stop", K::kButton, "Stop", 144, 344, 70, 25, true, 0},
    {BTN_Close, "BTN_Close", K::kButton, "Close", 222, 344, 70, 25, true, 0},
};
const std::size_t kControlCount = std::size(kControls);

const SpinRange kSpinRanges[3] = {
    {SPIN_PictureChangeInterval, kIntervalMin, kIntervalMax},
    {SPIN_StartupDelayAfterDocking, kStartDelayMin, kStartDelayMax},
    {SPIN_PocketPCTempFiles_MaxCount, kMaxKeptMin, kMaxKeptMax},
};

const ControlSpec* FindControl(int id) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kControls[i].id == id) return &kControls[i];
    }
    return nullptr;
}

}  // namespace glimmora::desktop::app
