// The folder picker on a folder tree of its own, standing for the handheld's root.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>

#include "device/dialogs/folder_picker_dialog_win.h"
#include "dialog_script_win.h"
#include "resources/device/dialog_ids.h"
#include "scratch_registry_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::device::dialogs {
namespace {

using test::Click;
using test::DialogScript;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class FolderPickerTest : public testing::Test {
  protected:
    FolderPickerTest() {
        root = Wide(temp.path());
        root.pop_back();  // no trailing backslash
        Folder(L"My Documents");
        Folder(L"My Documents\\Trip");
        Folder(L"My Documents\\Trip\\Day 1");
        Folder(L"My Documents\\Trip (2005)");
        Folder(L"My Documents\\Single");
        Folder(L"My Documents\\Nothing");
        Folder(L"Windows");
        for (const wchar_t* f : {L"a.jpg", L"b.JPEG", L"c.jpe", L"notes.txt", L"jpg"})
            File(L"My Documents\\Trip", f);
        for (const wchar_t* f : {L"1.jpg", L"2.jpg", L"3.jpg", L"4.jpg"})
            File(L"My Documents\\Trip (2005)", f);
        File(L"My Documents\\Single", L"only.jpg");
        File(L"My Documents\\Nothing", L"readme.txt");
        File(L"", L"root.jpg");  // files at the root are not listed
        picker.root = root;
        picker.settingsPlaces = reg.places();
    }
    void Folder(const std::wstring& path) {
        ::CreateDirectoryW((root + L"\\" + path).c_str(), nullptr);
    }
    void File(const std::wstring& folder, const std::wstring& name) {
        const std::wstring path = root + L"\\" + (folder.empty() ? L"" : folder + L"\\") + name;
        HANDLE h =
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(h);  // empty files count in the picker
    }

    HWND Tree() const { return ::GetDlgItem(picker.Handle(), IDC_FOLDER_TREE); }
    FolderTreeControl Control() const { return FolderTreeControl(Tree()); }
    TreeItem Find(TreeItem from, const std::wstring& text) const {
        FolderTreeControl tree = Control();
        for (TreeItem i = from; i; i = tree.NextSibling(i)) {
            if (tree.Text(i) == text) return i;
        }
        return 0;
    }
    bool Bold(TreeItem item) const {
        return (::SendMessageW(Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(AsHandle(item)),
                               TVIS_BOLD) &
                TVIS_BOLD) != 0;
    }
    bool Expanded(TreeItem item) const {
        return (::SendMessageW(Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(AsHandle(item)),
                               TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    }
    bool ViewEnabled() const { return ::IsWindowEnabled(::GetDlgItem(picker.Handle(), IDOK)); }
    INT_PTR RunPicker(DialogScript& script) {
        return script.Run([&] { return picker.Run(nullptr); });
    }

    test::TempFolder temp;
    test::ScratchRegistry reg;
    std::wstring root;
    FolderPickerDialog picker;
};

TEST_F(FolderPickerTest, OpensAsItsTemplateListingOnlyTheRootsFolders) {
    DialogScript script;
    script.Then([&] {
        HWND d = picker.Handle();
        EXPECT_EQ(test::WindowText(d), L" Select Folder with Pictures...");
        test::ExpectControls(d, {
                                    {IDC_FOLDER_TREE, L"SysTreeView32", L"Tree1", 3, 3, 143, 81},
                                    {IDC_REFRESH, L"Button", L"Refresh", 3, 86, 31, 14},
                                    {IDC_PICKER_OPTIONS, L"Button", L"Options", 35, 86, 31, 14},
                                    {IDOK, L"Button", L"View", 83, 86, 31, 14},
                                    {IDCANCEL, L"Button", L"Exit", 115, 86, 31, 14},
                                });
        const LONG style = ::GetWindowLongW(Tree(), GWL_STYLE);
        EXPECT_TRUE(style & TVS_HASLINES);
        EXPECT_TRUE(style & TVS_SHOWSELALWAYS);
        EXPECT_TRUE(::SendMessageW(Tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
        // The tree selects its first folder when it takes the focus; Refresh leaves none.
        Click(d, IDC_REFRESH);
        FolderTreeControl tree = Control();
        EXPECT_EQ(tree.Text(tree.FirstRoot()), L"My Documents");
        EXPECT_EQ(tree.Text(tree.NextSibling(tree.FirstRoot())), L"Windows");
        EXPECT_EQ(tree.NextSibling(tree.NextSibling(tree.FirstRoot())), 0u);
        EXPECT_EQ(tree.Selection(), 0u);
        Click(d, IDOK);  // View without a selection gives back an empty folder
        return true;
    });
    picker.chosenFolder = L"";
    EXPECT_EQ(RunPicker(script), IDOK);
    EXPECT_EQ(picker.chosenFolder, L"");
}

TEST_F(FolderPickerTest, SelectsTheStoredFolderAgainWhateverItsCaseAndBlanks) {
    picker.chosenFolder = L"  \\my documents\\TRIP\\ ";
    DialogScript script;
    script.Then([&] {
        FolderTreeControl tree = Control();
        const TreeItem docs = tree.FirstRoot();
        const TreeItem trip = tree.Selection();
        EXPECT_EQ(tree.Text(docs), L"My Documents");
        EXPECT_FALSE(Bold(docs));
        EXPECT_TRUE(Expanded(docs));
        EXPECT_EQ(tree.Text(trip), L"Trip (3 Pictures)");
        EXPECT_TRUE(Bold(trip));
        EXPECT_EQ(tree.Parent(trip), docs);
        EXPECT_EQ(tree.Data(docs), 0);  // counted on the way
        EXPECT_EQ(tree.Text(tree.FirstChild(trip)), L"Day 1");
        EXPECT_TRUE(ViewEnabled());
        Click(picker.Handle(), IDOK);
        return true;
    });
    EXPECT_EQ(RunPicker(script), IDOK);
    EXPECT_EQ(picker.chosenFolder, L"\\My Documents\\Trip");
}

TEST_F(FolderPickerTest, AFolderWithBracketsKeepsThemAndCountsAreKeptUntilRefresh) {
    picker.chosenFolder = L"\\My Documents\\Trip";
    DialogScript script;
    script.Then([&] {
        FolderTreeControl tree = Control();
        const TreeItem docs = tree.FirstRoot();
        const TreeItem trip = tree.Selection();
        const TreeItem year = Find(tree.FirstChild(docs), L"Trip (2005)");
        EXPECT_NE(year, 0u);
        tree.Select(year);
        EXPECT_EQ(tree.Text(year), L"Trip (2005) (4 Pictures)");
        EXPECT_EQ(tree.Text(trip), L"Trip");
        EXPECT_FALSE(Expanded(trip));  // the sibling's branch closed
        EXPECT_TRUE(Expanded(docs));
        tree.Select(Find(tree.FirstChild(docs), L"Single"));
        EXPECT_EQ(tree.Text(tree.Selection()), L"Single (1 Pictures)");
        tree.Select(Find(tree.FirstChild(docs), L"Nothing"));
        EXPECT_EQ(tree.Text(tree.Selection()), L"Nothing (0 Pictures)");
        EXPECT_FALSE(ViewEnabled());
        // A picture added meanwhile is not seen until Refresh forgets the counts.
        File(L"My Documents\\Trip", L"new.jpg");
        tree.Select(trip);
        EXPECT_EQ(tree.Text(trip), L"Trip (3 Pictures)");
        Click(picker.Handle(), IDC_REFRESH);
        EXPECT_EQ(tree.Selection(), 0u);
        const TreeItem docs2 = tree.FirstRoot();
        tree.Select(docs2);
        tree.Select(Find(tree.FirstChild(docs2), L"Trip"));
        EXPECT_EQ(tree.Text(tree.Selection()), L"Trip (4 Pictures)");
        tree.Select(Find(tree.FirstChild(docs2), L"Trip (2005)"));
        Click(picker.Handle(), IDOK);
        return true;
    });
    EXPECT_EQ(RunPicker(script), IDOK);
    EXPECT_EQ(picker.chosenFolder, L"\\My Documents\\Trip (2005)");
}

TEST_F(FolderPickerTest, AStoredFolderThatIsGoneIsSelectedAsFarAsItMatches) {
    picker.chosenFolder = L"\\My Documents\\Gone";
    DialogScript script;
    script.Then([&] {
        FolderTreeControl tree = Control();
        EXPECT_EQ(tree.Selection(), tree.FirstRoot());
        EXPECT_EQ(tree.Text(tree.Selection()), L"My Documents (0 Pictures)");
        EXPECT_FALSE(ViewEnabled());
        Click(picker.Handle(), IDCANCEL);
        return true;
    });
    EXPECT_EQ(RunPicker(script), IDCANCEL);
}

TEST_F(FolderPickerTest, MinimisingEndsThePickerLikeExit) {
    DialogScript script;
    script.Then([&] {
        ::ShowWindow(picker.Handle(), SW_MINIMIZE);
        return true;
    });
    EXPECT_EQ(RunPicker(script), IDCANCEL);
}

TEST_F(FolderPickerTest, OptionsShowsTheInformationBoxThenTheSettingsDialog) {
    DialogScript script;
    script
        .Then([&] {
            ::PostMessageW(picker.Handle(), WM_COMMAND, IDC_PICKER_OPTIONS, 0);
            return true;
        })
        .Then([&] {
            HWND box = test::FindThreadWindow(kPickerInfoCaption);
            if (!box) return false;
            EXPECT_TRUE(test::ChildWithText(box, kPickerInfoText)) << "the information text";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Then([&] {
            HWND settings = test::FindThreadWindow(L"Glimmora");
            if (!settings) return false;
            ::SendMessageW(settings, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Then([&] {
            if (test::FindThreadWindow(L"Glimmora")) return false;
            Click(picker.Handle(), IDCANCEL);
            return true;
        });
    EXPECT_EQ(RunPicker(script), IDCANCEL);
    // The settings dialog's OK stored its defaults.
    EXPECT_EQ(reg.Dword(reg.currentUser(), L"Software\\Kestrova\\Glimmora", L"Options"),
              DWORD{2u << 28});
}

}  // namespace
}  // namespace glimmora::device::dialogs
