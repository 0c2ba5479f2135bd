// The main window's controls: identifier, name, kind, caption, place and size (client
// pixels of the 302 x 373 window, not scaled with the system font), in creation order, which
// is the keyboard's tab order.
#pragma once

#include <cstddef>

namespace glimmora::desktop::app {

inline constexpr int kClientWidth = 302, kClientHeight = 373;
inline constexpr char kMainCaption[] = "Glimmora Desktop Image Server v1.3.0";
inline constexpr char kDesignCaption[] = "Glimmora Desktop Image Server";
inline constexpr char kApplicationTitle[] = "Glimmora Desktop Image Server";
inline constexpr char kMainClass[] = "TCoreForm";
inline constexpr char kApplicationClass[] = "TApplication";
inline constexpr char kMutexName[] = "Glimmora Desktop Image Server";
inline constexpr char kErrorCaption[] = " Error - Glimmora Desktop Image Server";
inline constexpr char kWebAddress[] = "http://glimmora.example.org";
inline constexpr char kCopyrightLine[] = "(c) 2026 Glimmora project";
inline constexpr char kWebHint[] =
    "Click here to visit company web site!\nhttp://glimmora.example.org";
inline constexpr char kBrowserText[] =
    "JPEG/JPG pictures in the selected folder\nwill be displayed on PocketPC.";
inline constexpr char kLaunchFailedText[] =
    "Launching Glimmora.exe from connected PocketPC failed!  \n"
    "Please re-install Glimmora for PocketPC and try again.  ";
inline constexpr char kFolderErrorText[] =
    "The following folder does not exist\nor cannot be accessed!\n\n";

// Control identifiers (1 and 2 are left to the dialog keys Enter and Esc).
enum ControlId : int {
    PANEL_LocalRootDirInfoBase = 1000,
    IMG_FolderIcon,
    LABEL_FolderTitle,
    LABEL_PictureFolderPath,
    Shape1,
    BTN_Change,
    BTN_Browse,
    LABEL_URL,
    LABEL_Copyright,
    LABEL_Options,
    LABEL_Empty,
    GBOX_DisplayOrder,
    RADIO_DisplayOrder_Random,
    RADIO_DisplayOrder_Name,
    RADIO_DisplayOrder_Size,
    RADIO_DisplayOrder_Date,
    PANEL_DisplayOrder,
    RADIO_DisplayOrder_Ascending,
    RADIO_DisplayOrder_Descending,
    LABEL_PictureChangeInterval,
    SPIN_PictureChangeInterval,
    CHECK_AutoStart,
    LABEL_StartupDelayAfterDocking,
    SPIN_StartupDelayAfterDocking,
    CHECK_ShowCalendar,
    CHECK_DoNotRemoveTempFiles,
    LABEL_PocketPCFolderPath,
    EDIT_PocketPCFolderPath,
    CHECK_PPC_UseDefaultFolder,
    LABEL_PocketPCTempFiles_MaxCount,
    SPIN_PocketPCTempFiles_MaxCount,
    BTN_Start,
    BTN_Stop,
    BTN_Close,
};
// The arrows of a spin field: its edit's identifier plus this.
inline constexpr int kSpinArrowsOffset = 100;

enum class ControlKind {
    kPanel,       // STATIC filled with a colour, behind its controls
    kImage,       // STATIC showing an icon
    kLabel,       // STATIC text
    kBoldLabel,   // STATIC text in bold Arial 9
    kLine,        // STATIC one pixel high
    kFlatButton,  // BUTTON drawn flat with its glyph
    kWebLabel,    // STATIC, small, right-aligned, clickable
    kBand,        // STATIC, its text turned 90 degrees
    kFiller,      // STATIC block in the shadow colour
    kGroupBox,    // BUTTON group box
    kRadio,       // BUTTON radio
    kSpin,        // EDIT with an up-down control as its arrows
    kCheck,       // BUTTON check box
    kEdit,        // EDIT
    kButton,      // BUTTON push button
};

struct ControlSpec {
    int id;
    const char* name;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    bool tabStop;
    int tag;  // the radios' Tag; 0 elsewhere
};

extern const ControlSpec kControls[];
extern const std::size_t kControlCount;

const ControlSpec* FindControl(int id);

struct SpinRange {
    int id;
    int min, max;
};
extern const SpinRange kSpinRanges[3];

}  // namespace glimmora::desktop::app
