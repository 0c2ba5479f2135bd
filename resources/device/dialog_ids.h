// Resource and control ids of the viewer's options, settings and folder picker dialogs,
// shared by their .rc templates and the code that drives them.
#pragma once

// Templates.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_SLIDESHOW_OPTIONS 146
#define IDD_FOLDER_PICKER 149
#define IDD_VIEWER_SETTINGS 158

// The folder images: two 16 x 16 images (closed folder, folder with a star), and the same
// two at 32 x 32 for screens above 96 pixels per inch.
#define IDB_FOLDERS_16 150
#define IDB_FOLDERS_32 155

// Controls.
#define IDC_ASSOCIATE_JPEG 1000
#define IDC_INTERVAL_EDIT 1002
#define IDC_INTERVAL_SPIN 1004
#define IDC_REFRESH 1005
#define IDC_FOLDER_TREE 1006
#define IDC_FIT_TO_SCREEN 1007
#define IDC_PICKER_OPTIONS 1008
#define IDC_SHOW_CALENDAR 1009
#define IDC_ORIENTATION_LIST 1021
#define IDC_ORIENTATION_LABEL 1024
