// Owners for the window manager's objects: windows, icons, menus, and common-control image
// lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "common/unique_win.h"

namespace glimmora {

namespace detail {
inline void DestroyWindowHandle(HWND w) { ::DestroyWindow(w); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }
inline void DestroyMenuHandle(HMENU m) { ::DestroyMenu(m); }
inline void DestroyImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }
}  // namespace detail

using UniqueWindow = UniqueAny<HWND, detail::DestroyWindowHandle>;
using UniqueIcon = UniqueAny<HICON, detail::DestroyIconHandle>;
using UniqueMenu = UniqueAny<HMENU, detail::DestroyMenuHandle>;
using UniqueImageList = UniqueAny<HIMAGELIST, detail::DestroyImageList>;

}  // namespace glimmora
