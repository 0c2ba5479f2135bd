// Owners for the user-interface objects the desktop window holds: icons and menus.
#pragma once

#include <windows.h>

#include "common/unique_win.h"

namespace glimmora {

namespace detail {
inline void DestroyIconChecked(HICON i) { ::DestroyIcon(i); }
inline void DestroyMenuChecked(HMENU m) { ::DestroyMenu(m); }
}  // namespace detail

using UniqueIcon = UniqueAny<HICON, detail::DestroyIconChecked>;
using UniqueMenu = UniqueAny<HMENU, detail::DestroyMenuChecked>;
using UniqueFont = UniqueAny<HFONT, detail::DeleteObjectChecked>;
using UniqueBrush = UniqueAny<HBRUSH, detail::DeleteObjectChecked>;

}  // namespace glimmora
