#include "device/platform/transparent_image_win.h"

namespace glimmora::device::platform {

bool TransparentImage(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                      int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent) {
    return ::TransparentBlt(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                            sourceHeight, transparent) != FALSE;
}

}  // namespace glimmora::device::platform
