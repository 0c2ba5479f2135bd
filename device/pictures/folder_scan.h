// Searches the handheld folder of a picture list and rebuilds the list from it.
#pragma once

#include "device/pictures/folder_order.h"

namespace glimmora::device {

// Rebuilds list.pictureNames from list.folderPath and locates list.currentPath in it. An
// unreadable or missing folder gives an empty list. Shows the wait cursor while it runs.
void ScanFolder(PictureList& list);

}  // namespace glimmora::device
