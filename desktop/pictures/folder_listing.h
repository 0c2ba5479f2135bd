// Lists one desktop folder for the session: its JPEG pictures in the chosen display order,
// then its subfolders. Implemented with the Win32 directory search (folder_listing_win.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "desktop/pictures/picture_entry.h"

namespace glimmora::desktop {

// Replaces the list's contents. `folder` ends with a backslash; `sortKey` is the stored
// FileSortBy (1 name, 2 size, 3 date, anything else random). Hidden and system entries,
// empty files, files of 2 GiB and more and non-JPEG names are left out. A folder that
// cannot be searched gives an empty list; nothing is reported.
void ListFolder(const std::string& folder, PictureList& list, std::uint8_t sortKey, bool ascending);

// The user locale's case-sensitive name order (negative, zero, positive).
int LocaleNameOrder(const std::string& a, const std::string& b);

// The user locale's case-insensitive equality, used for extensions.
bool LocaleEqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace glimmora::desktop
