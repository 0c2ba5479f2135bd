#include "device/dialogs/folder_picker_dialog_win.h"

#include "common/unique_gdi_win.h"
#include "common/unique_win.h"
#include "common/wait_cursor_win.h"
#include "device/dialogs/dialog_controls_win.h"
#include "device/dialogs/settings_dialog_win.h"
#include "device/platform/pocket_shell_win.h"
#include "resources/device/dialog_ids.h"

namespace glimmora::device::dialogs {

namespace {

constexpr COLORREF kTransparentGreen = RGB(0, 255, 0);
constexpr DWORD kShellElementArgument = 2;

bool IsHighResolution() {
    WindowDC screen(nullptr);
    return screen && ::GetDeviceCaps(screen.get(), LOGPIXELSX) > 96;
}

// The platform's searches list a folder's own "." and ".." entries; they are not folders
// of the tree.
bool IsDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == 0) ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

void CentreOnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::SetWindowPos(window, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

INT_PTR FolderPickerDialog::Run(HWND parent) {
    EnsureCommonControls();
    return RunModal(ResourceModule(), IDD_FOLDER_PICKER, parent);
}

INT_PTR FolderPickerDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: Open(); return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_FOLDER_TREE || header->code != TVN_SELCHANGEDW) return FALSE;
            const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
            // Selection changes while the tree is refilled are not counted.
            if (::IsWindowEnabled(tree_.Handle())) {
                SelectionChanged(AsItem(change->itemOld.hItem), AsItem(change->itemNew.hItem));
            }
            ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, 0);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_REFRESH: FillRootFolders(); return TRUE;
                case IDC_PICKER_OPTIONS: ShowOptions(); return TRUE;
                case IDOK: View(); return TRUE;
                case IDCANCEL: End(IDCANCEL); return TRUE;
            }
            return FALSE;
        case WM_SIZE:
            // Minimised (the shell's smart-minimise button): leaving the picker like Exit.
            if (wParam == SIZE_MINIMIZED) End(IDCANCEL);
            return FALSE;
        default: return FALSE;
    }
}

void FolderPickerDialog::Open() {
    HWND window = Handle();
    tree_.Attach(::GetDlgItem(window, IDC_FOLDER_TREE));
    const bool high = IsHighResolution();
    images_.reset(::ImageList_LoadImageW(
        ResourceModule(), MAKEINTRESOURCEW(high ? IDB_FOLDERS_32 : IDB_FOLDERS_16), high ? 32 : 16,
        1, kTransparentGreen, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ::SendMessageW(tree_.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(images_.get()));
    platform::ShellElementCall(window, kShellElementArgument);
    CentreOnScreen(window);

    FillRootFolders();
    if (!chosenFolder.empty()) SelectStoredFolder(tree_, chosenFolder);
    chosenFolder.clear();
}

void FolderPickerDialog::FillRootFolders() {
    WaitCursor wait;
    HWND tree = tree_.Handle();
    ::EnableWindow(tree, FALSE);
    tree_.DeleteAll();
    ::InvalidateRect(tree, nullptr, TRUE);

    WIN32_FIND_DATAW entry{};
    UniqueFind search(::FindFirstFileW((root + L"\\*.*").c_str(), &entry));
    if (search) {
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !IsDotEntry(entry.cFileName)) {
                tree_.InsertFolder(0, entry.cFileName);
            }
        } while (::FindNextFileW(search.get(), &entry));
    }
    tree_.SortChildren(0);
    ::EnableWindow(tree, TRUE);
}

int FolderPickerDialog::ExpandAndCount(TreeItem item) {
    WaitCursor wait;
    const std::wstring pattern = FolderSearchPattern(root, FolderNamesOf(tree_, item, false));
    int count = 0;
    WIN32_FIND_DATAW entry{};
    UniqueFind search(::FindFirstFileW(pattern.c_str(), &entry));
    if (search) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!IsDotEntry(entry.cFileName)) tree_.InsertFolder(item, entry.cFileName);
            } else if (IsPictureFileName(entry.cFileName)) {
                // Empty files count here; the slideshow's own scan skips them.
                ++count;
            }
        } while (::FindNextFileW(search.get(), &entry));
    }
    tree_.SortChildren(item);
    return count;
}

void FolderPickerDialog::SelectionChanged(TreeItem oldItem, TreeItem newItem) {
    if (oldItem) {
        tree_.SetText(oldItem, NameWithoutCountSuffix(tree_.Text(oldItem)));
        tree_.SetBold(oldItem, false);
        for (TreeItem item : ItemsToCollapse(tree_, oldItem, newItem))
            tree_.Expand(item, TVE_COLLAPSE);
    }
    int count = 0;
    if (newItem) {
        LPARAM data = tree_.Data(newItem);
        if (data == kNotCounted) {
            data = ExpandAndCount(newItem);
            tree_.SetData(newItem, data);
        }
        count = static_cast<int>(data);
        tree_.SetText(newItem, tree_.Text(newItem) + CountSuffix(count));
        tree_.SetBold(newItem, true);
        tree_.Expand(newItem, TVE_EXPAND);
        tree_.EnsureVisible(newItem);
    }
    ::EnableWindow(::GetDlgItem(Handle(), IDOK), newItem != 0 && count != 0);
}

void FolderPickerDialog::ShowOptions() {
    ::MessageBoxW(Handle(), kPickerInfoText, kPickerInfoCaption, MB_OK | MB_ICONASTERISK);
    SettingsDialog settings(settingsPlaces);
    settings.Run(Handle());
}

void FolderPickerDialog::View() {
    const TreeItem selected = tree_.Selection();
    chosenFolder = selected ? JoinFolderPath(FolderNamesOf(tree_, selected, true)) : std::wstring();
    End(IDOK);
}

}  // namespace glimmora::device::dialogs
