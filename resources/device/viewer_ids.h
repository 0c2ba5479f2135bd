// Resource numbers of Glimmora.exe: the slideshow window's dialog template, the window icon
// and the button images. Plain #defines, so both the resource compiler and portable code
// read them.
#pragma once

#define IDD_SLIDESHOW 102
#define IDI_GLIMMORA 128

#define IDB_PREVIOUS 129
#define IDB_CLOSE 130
#define IDB_NEXT_GREY 131
#define IDB_NEXT 132
#define IDB_PREVIOUS_GREY 133
#define IDB_SLIDESHOW 144
#define IDB_SLIDESHOW_GREY 145
