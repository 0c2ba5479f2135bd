// Resource identifiers of Dockhaven.exe, shared by the .rc file and the code.
#pragma once

#define kMainIcon 1
#define kFolderImage 200
#define kChangeGlyph 210
#define kBrowseGlyph 220
// The notification icon's states (tray_icon_win.h): 130 idle, 120 running, 110 transferring.
