// Owners for common-control and GDI objects the dialogs hold beyond unique_win.h's: an image
// list, and a font or pen made for one paint.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "common/unique_win.h"

namespace glimmora {

namespace detail {
inline void ImageListDestroyChecked(HIMAGELIST list) { ::ImageList_Destroy(list); }
}  // namespace detail

using UniqueImageList = UniqueAny<HIMAGELIST, detail::ImageListDestroyChecked>;
using UniqueFont = UniqueAny<HFONT, detail::DeleteObjectChecked>;
using UniquePen = UniqueAny<HPEN, detail::DeleteObjectChecked>;

}  // namespace glimmora
