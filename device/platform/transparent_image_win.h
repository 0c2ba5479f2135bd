// The handheld's TransparentImage: a copy in which one colour of the source is left out.
// Here it is the desktop's TransparentBlt.
#pragma once

#include <windows.h>

namespace glimmora::device::platform {

bool TransparentImage(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                      int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent);

}  // namespace glimmora::device::platform
