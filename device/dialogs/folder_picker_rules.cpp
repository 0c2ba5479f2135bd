#include "device/dialogs/folder_picker_rules.h"

#include <cwctype>

namespace glimmora::device::dialogs {

namespace {

bool IsBlank(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsAncestor(const FolderTree& tree, TreeItem candidate, TreeItem item) {
    for (TreeItem up = tree.Parent(item); up != 0; up = tree.Parent(up)) {
        if (up == candidate) return true;
    }
    return false;
}

}  // namespace

std::wstring CountSuffix(int count) { return L" (" + std::to_wstring(count) + L" Pictures)"; }

std::wstring CutBeforeCountSuffix(const std::wstring& text) {
    const std::size_t open = text.rfind(L'(');
    if (open == std::wstring::npos || open == 0) return text;
    return text.substr(0, open - 1);
}

std::wstring NameWithoutCountSuffix(const std::wstring& text) {
    std::wstring name = CutBeforeCountSuffix(text);
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    return name;
}

bool IsPictureFileName(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) return false;
    const std::wstring extension = name.substr(dot);
    return EqualIgnoringCase(extension, L".jpg") || EqualIgnoringCase(extension, L".jpeg") ||
           EqualIgnoringCase(extension, L".jpe");
}

std::vector<TreeItem> ItemsToCollapse(const FolderTree& tree, TreeItem oldItem, TreeItem newItem) {
    std::vector<TreeItem> items;
    if (oldItem == 0 || newItem == 0 || IsAncestor(tree, oldItem, newItem)) return items;
    const TreeItem stop = tree.Parent(newItem);
    for (TreeItem item = oldItem; item != 0 && item != stop; item = tree.Parent(item)) {
        items.push_back(item);
    }
    return items;
}

std::vector<std::wstring> FolderNamesOf(const FolderTree& tree, TreeItem item, bool cutOwnSuffix) {
    std::vector<std::wstring> names;
    if (item == 0) return names;
    const std::wstring text = tree.Text(item);
    names.push_back(cutOwnSuffix ? CutBeforeCountSuffix(text) : text);
    for (TreeItem up = tree.Parent(item); up != 0; up = tree.Parent(up)) {
        names.insert(names.begin(), tree.Text(up));
    }
    return names;
}

std::wstring JoinFolderPath(const std::vector<std::wstring>& names) {
    std::wstring path;
    for (const std::wstring& name : names) path += L"\\" + name;
    return path;
}

std::wstring FolderSearchPattern(const std::wstring& root, const std::vector<std::wstring>& names) {
    return root + JoinFolderPath(names) + L"\\*.*";
}

std::vector<std::wstring> StoredFolderNames(const std::wstring& stored) {
    std::size_t begin = 0;
    std::size_t end = stored.size();
    while (begin < end && IsBlank(stored[begin])) ++begin;
    while (begin < end && stored[begin] == L'\\') ++begin;
    while (end > begin && IsBlank(stored[end - 1])) --end;
    while (end > begin && stored[end - 1] == L'\\') --end;
    const std::wstring rest = stored.substr(begin, end - begin);

    std::vector<std::wstring> names;
    std::size_t from = 0;
    while (from < rest.size()) {
        const std::size_t slash = rest.find(L'\\', from);
        std::wstring name =
            rest.substr(from, slash == std::wstring::npos ? std::wstring::npos : slash - from);
        if (name.empty()) break;
        names.push_back(std::move(name));
        if (slash == std::wstring::npos) break;
        from = slash + 1;
    }
    return names;
}

void SelectStoredFolder(FolderTree& tree, const std::wstring& stored) {
    TreeItem level = tree.FirstRoot();
    for (const std::wstring& name : StoredFolderNames(stored)) {
        TreeItem match = 0;
        for (TreeItem item = level; item != 0; item = tree.NextSibling(item)) {
            if (EqualIgnoringCase(tree.Text(item), name)) {
                match = item;
                break;
            }
        }
        if (match == 0) return;
        tree.Select(match);
        level = tree.FirstChild(match);
        if (level == 0) return;
    }
}

}  // namespace glimmora::device::dialogs
