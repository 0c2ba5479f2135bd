// The folder picker's decisions, free of the tree control: the count suffix on the selected
// item, which files count as pictures, which items collapse when the selection moves, the
// path of an item, and the walk that selects a stored folder again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::device::dialogs {

// An item of the folder tree; 0 is no item.
using TreeItem = std::uintptr_t;

// What the picker's rules need from its tree.
class FolderTree {
  public:
    virtual ~FolderTree() = default;
    virtual TreeItem FirstRoot() const = 0;
    virtual TreeItem NextSibling(TreeItem item) const = 0;
    virtual TreeItem FirstChild(TreeItem item) const = 0;
    virtual TreeItem Parent(TreeItem item) const = 0;
    virtual std::wstring Text(TreeItem item) const = 0;
    // Makes `item` the selection; the picker counts and expands it in its selection handler.
    virtual void Select(TreeItem item) = 0;
};

// " (%d Pictures)": the plural stays for every count.
std::wstring CountSuffix(int count);

// The text before the character in front of the last "(", when that "(" stands after the
// first character; otherwise the text unchanged. "Trip (2005) (4 Pictures)" gives
// "Trip (2005)".
std::wstring CutBeforeCountSuffix(const std::wstring& text);

// A deselected item's text: the suffix cut and blanks trimmed on the right.
std::wstring NameWithoutCountSuffix(const std::wstring& text);

// A file counts when its name has a "." and what follows the last one is jpg, jpeg or jpe,
// in any letter case.
bool IsPictureFileName(const std::wstring& name);

// The items to collapse when the selection moves from `oldItem` to `newItem`: none when the
// old item is an ancestor of the new one, otherwise the old item and its ancestors up to,
// not including, the new item's parent. The tree keeps only the selection's branch open.
std::vector<TreeItem> ItemsToCollapse(const FolderTree& tree, TreeItem oldItem, TreeItem newItem);

// The item texts from the root down to `item`; with `cutOwnSuffix` the item's own text is
// cut before its count suffix (the selected item's path), otherwise taken as it stands (an
// item about to be counted).
std::vector<std::wstring> FolderNamesOf(const FolderTree& tree, TreeItem item, bool cutOwnSuffix);

// "\" followed by the names joined by "\"; empty for no names.
std::wstring JoinFolderPath(const std::vector<std::wstring>& names);

// The search pattern of an item's folder below `root` ("" for the handheld's own root):
// root + "\My Documents\Trip\*.*".
std::wstring FolderSearchPattern(const std::wstring& root, const std::vector<std::wstring>& names);

// A stored folder's names: blanks, then backslashes trimmed on the left, the same on the
// right, then split at backslashes up to the first empty name.
std::vector<std::wstring> StoredFolderNames(const std::wstring& stored);

// Selects each name of the stored folder in turn, comparing without regard to case among
// the children of the last selected item, as far as the path still matches.
void SelectStoredFolder(FolderTree& tree, const std::wstring& stored);

}  // namespace glimmora::device::dialogs
