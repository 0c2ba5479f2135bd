// FolderPickerDialog (template 149): the handheld's folders in a tree, the selected one
// counted and marked with its number of pictures. View gives the chosen folder back in
// `chosenFolder`; Exit or minimising ends it with IDCANCEL.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_user_win.h"
#include "device/association/association_win.h"
#include "device/dialogs/folder_tree_win.h"
#include "device/platform/modal_dialog_win.h"

namespace glimmora::device::dialogs {

class FolderPickerDialog : public platform::ModalDialog {
  public:
    FolderPickerDialog() = default;

    // IDOK (View) with `chosenFolder` filled, or IDCANCEL.
    INT_PTR Run(HWND parent);

    // In: the folder to select at opening (Slideshow_LastUsedFolder). Out: "\" and the
    // folder names joined by "\", e.g. \My Documents\Trip; empty when nothing was selected.
    std::wstring chosenFolder;

    // The folder the tree shows as the handheld's root: "" is the root of the current drive;
    // tests give a folder of their own. No trailing backslash.
    std::wstring root;
    // Where the settings dialog opened by "Options" keeps its values.
    association::AssociationPlaces settingsPlaces;

  protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Open();
    void FillRootFolders();
    int ExpandAndCount(TreeItem item);
    void SelectionChanged(TreeItem oldItem, TreeItem newItem);
    void ShowOptions();
    void View();

    FolderTreeControl tree_;
    UniqueImageList images_;
};

// The information box "Options" shows before the settings dialog.
inline constexpr wchar_t kPickerInfoText[] =
    L"To use Glimmora as a digital picture frame, please have your Pocket PC connected "
    L"through ActiveSync and start Glimmora Desktop Image Server for Windows 9x/NT/2000/XP.";
inline constexpr wchar_t kPickerInfoCaption[] = L" Info - Glimmora";

}  // namespace glimmora::device::dialogs
