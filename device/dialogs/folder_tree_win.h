// The picker's tree control seen through the FolderTree interface, plus the few calls the
// picker makes on it beyond the rules' needs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "device/dialogs/folder_picker_rules.h"

namespace glimmora::device::dialogs {

// Item data of a folder that has not been counted yet.
inline constexpr LPARAM kNotCounted = -1;

class FolderTreeControl : public FolderTree {
  public:
    explicit FolderTreeControl(HWND tree = nullptr) : tree_(tree) {}
    void Attach(HWND tree) { tree_ = tree; }
    HWND Handle() const { return tree_; }

    TreeItem FirstRoot() const override;
    TreeItem NextSibling(TreeItem item) const override;
    TreeItem FirstChild(TreeItem item) const override;
    TreeItem Parent(TreeItem item) const override;
    std::wstring Text(TreeItem item) const override;
    void Select(TreeItem item) override;

    TreeItem Selection() const;
    // Inserted sorted, closed-folder image, starred image when selected, not counted.
    TreeItem InsertFolder(TreeItem parent, const std::wstring& name);
    void SetText(TreeItem item, const std::wstring& text);
    LPARAM Data(TreeItem item) const;
    void SetData(TreeItem item, LPARAM data);
    void SetBold(TreeItem item, bool bold);
    void Expand(TreeItem item, UINT how);
    void EnsureVisible(TreeItem item);
    void SortChildren(TreeItem item);  // 0: the root's children
    void DeleteAll();

  private:
    HWND tree_;
};

inline HTREEITEM AsHandle(TreeItem item) { return reinterpret_cast<HTREEITEM>(item); }
inline TreeItem AsItem(HTREEITEM item) { return reinterpret_cast<TreeItem>(item); }

}  // namespace glimmora::device::dialogs
