#include "device/dialogs/folder_tree_win.h"

#include <vector>

namespace glimmora::device::dialogs {

namespace {

TreeItem Next(HWND tree, UINT relation, TreeItem item) {
    return AsItem(reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(AsHandle(item)))));
}

}  // namespace

TreeItem FolderTreeControl::FirstRoot() const { return Next(tree_, TVGN_ROOT, 0); }
TreeItem FolderTreeControl::NextSibling(TreeItem item) const {
    return Next(tree_, TVGN_NEXT, item);
}
TreeItem FolderTreeControl::FirstChild(TreeItem item) const {
    return Next(tree_, TVGN_CHILD, item);
}
TreeItem FolderTreeControl::Parent(TreeItem item) const { return Next(tree_, TVGN_PARENT, item); }
TreeItem FolderTreeControl::Selection() const { return Next(tree_, TVGN_CARET, 0); }

std::wstring FolderTreeControl::Text(TreeItem item) const {
    // Folder names are at most 260 characters, the count suffix adds a few.
    std::vector<wchar_t> buffer(MAX_PATH + 64, L'\0');
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = AsHandle(item);
    tv.pszText = buffer.data();
    tv.cchTextMax = static_cast<int>(buffer.size());
    if (!::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    return std::wstring(tv.pszText);
}

void FolderTreeControl::Select(TreeItem item) {
    ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(AsHandle(item)));
}

TreeItem FolderTreeControl::InsertFolder(TreeItem parent, const std::wstring& name) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? AsHandle(parent) : TVI_ROOT;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 1;
    insert.item.lParam = kNotCounted;
    return AsItem(reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
}

void FolderTreeControl::SetText(TreeItem item, const std::wstring& text) {
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = AsHandle(item);
    tv.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

LPARAM FolderTreeControl::Data(TreeItem item) const {
    TVITEMW tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = AsHandle(item);
    if (!::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return kNotCounted;
    return tv.lParam;
}

void FolderTreeControl::SetData(TreeItem item, LPARAM data) {
    TVITEMW tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = AsHandle(item);
    tv.lParam = data;
    ::SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void FolderTreeControl::SetBold(TreeItem item, bool bold) {
    TVITEMW tv{};
    tv.mask = TVIF_STATE | TVIF_HANDLE;
    tv.hItem = AsHandle(item);
    tv.stateMask = TVIS_BOLD;
    tv.state = bold ? TVIS_BOLD : 0;
    ::SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void FolderTreeControl::Expand(TreeItem item, UINT how) {
    ::SendMessageW(tree_, TVM_EXPAND, how, reinterpret_cast<LPARAM>(AsHandle(item)));
}

void FolderTreeControl::EnsureVisible(TreeItem item) {
    ::SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(AsHandle(item)));
}

void FolderTreeControl::SortChildren(TreeItem item) {
    ::SendMessageW(tree_, TVM_SORTCHILDREN, 0,
                   reinterpret_cast<LPARAM>(item ? AsHandle(item) : TVI_ROOT));
}

void FolderTreeControl::DeleteAll() {
    ::SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

}  // namespace glimmora::device::dialogs
