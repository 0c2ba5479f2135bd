#include "device/dialogs/folder_picker_rules.h"

#include <gtest/gtest.h>

#include <map>

#include "device/dialogs/options_heading.h"

namespace glimmora::device::dialogs {
namespace {

// A tree of named items; Select records the order and marks the item as its tree would.
class FakeTree : public FolderTree {
  public:
    TreeItem Add(TreeItem parent, const std::wstring& text) {
        const TreeItem item = next_++;
        nodes_[item] = {parent, text};
        order_.push_back(item);
        return item;
    }
    TreeItem FirstRoot() const override { return FirstWithParent(0); }
    TreeItem NextSibling(TreeItem item) const override {
        const TreeItem parent = nodes_.at(item).parent;
        bool seen = false;
        for (TreeItem i : order_) {
            if (seen && nodes_.at(i).parent == parent) return i;
            if (i == item) seen = true;
        }
        return 0;
    }
    TreeItem FirstChild(TreeItem item) const override { return FirstWithParent(item); }
    TreeItem Parent(TreeItem item) const override { return nodes_.at(item).parent; }
    std::wstring Text(TreeItem item) const override { return nodes_.at(item).text; }
    void Select(TreeItem item) override {
        selected.push_back(item);
        nodes_[item].text += CountSuffix(1);
    }
    std::vector<TreeItem> selected;

  private:
    TreeItem FirstWithParent(TreeItem parent) const {
        for (TreeItem i : order_) {
            if (nodes_.at(i).parent == parent) return i;
        }
        return 0;
    }
    struct Node {
        TreeItem parent;
        std::wstring text;
    };
    std::map<TreeItem, Node> nodes_;
    std::vector<TreeItem> order_;
    TreeItem next_ = 1;
};

TEST(CountSuffix, KeepsThePluralAndComesOffAgain) {
    EXPECT_EQ(L"Trip" + CountSuffix(3), L"Trip (3 Pictures)");
    EXPECT_EQ(CountSuffix(1), L" (1 Pictures)");
    EXPECT_EQ(CutBeforeCountSuffix(L"Trip (2005) (4 Pictures)"), L"Trip (2005)");
    EXPECT_EQ(NameWithoutCountSuffix(L"Trip (2005) (4 Pictures)"), L"Trip (2005)");
    EXPECT_EQ(NameWithoutCountSuffix(L"Trip  (0 Pictures)"), L"Trip");
    // A "(" in first place is a name, not a suffix.
    EXPECT_EQ(CutBeforeCountSuffix(L"(misc)"), L"(misc)");
    EXPECT_EQ(CutBeforeCountSuffix(L"Trip"), L"Trip");
}

TEST(IsPictureFileName, CountsTheThreeJpegExtensionsInAnyCase) {
    for (const wchar_t* yes : {L"a.jpg", L"B.JPEG", L"c.Jpe", L"x.y.jpg", L".jpg"}) {
        EXPECT_TRUE(IsPictureFileName(yes)) << testing::PrintToString(std::wstring(yes));
    }
    for (const wchar_t* no : {L"jpg", L"a.jpg.txt", L"a.jp", L"a.jpgx", L"a.png", L""}) {
        EXPECT_FALSE(IsPictureFileName(no)) << testing::PrintToString(std::wstring(no));
    }
}

TEST(StoredFolderNames, TrimsBlanksAndBackslashesThenSplits) {
    using Names = std::vector<std::wstring>;
    EXPECT_EQ(StoredFolderNames(L"\\My Documents\\Trip\\"), (Names{L"My Documents", L"Trip"}));
    EXPECT_EQ(StoredFolderNames(L"  \\\\my documents\\TRIP\\\\  "),
              (Names{L"my documents", L"TRIP"}));
    EXPECT_EQ(StoredFolderNames(L"My Documents\\\\Trip"), (Names{L"My Documents"}));
    EXPECT_EQ(StoredFolderNames(L" \\ "), Names{});
    EXPECT_EQ(StoredFolderNames(L""), Names{});
}

class PickerTreeTest : public testing::Test {
  protected:
    PickerTreeTest() {
        docs = tree.Add(0, L"My Documents");
        trip = tree.Add(docs, L"Trip");
        day1 = tree.Add(trip, L"Day 1");
        home = tree.Add(docs, L"Home");
        windows = tree.Add(0, L"Windows");
    }
    FakeTree tree;
    TreeItem docs, trip, day1, home, windows;
};

TEST_F(PickerTreeTest, SelectsAStoredFolderLevelByLevelIgnoringCase) {
    SelectStoredFolder(tree, L"  \\MY DOCUMENTS\\trip\\ ");
    EXPECT_EQ(tree.selected, (std::vector<TreeItem>{docs, trip}));
}

TEST_F(PickerTreeTest, AStoredFolderThatIsGoneIsSelectedAsFarAsItMatches) {
    SelectStoredFolder(tree, L"\\My Documents\\Gone\\Deeper");
    EXPECT_EQ(tree.selected, (std::vector<TreeItem>{docs}));
    tree.selected.clear();
    SelectStoredFolder(tree, L"\\Nowhere");
    EXPECT_TRUE(tree.selected.empty());
}

TEST_F(PickerTreeTest, OnlyTheSelectionsBranchStaysOpen) {
    // A sibling: the old folder closes, the common parent stays open.
    EXPECT_EQ(ItemsToCollapse(tree, trip, home), (std::vector<TreeItem>{trip}));
    // Into another root folder: the whole old branch closes.
    EXPECT_EQ(ItemsToCollapse(tree, day1, windows), (std::vector<TreeItem>{day1, trip, docs}));
    // A subfolder of the selection keeps it open.
    EXPECT_TRUE(ItemsToCollapse(tree, docs, day1).empty());
    EXPECT_TRUE(ItemsToCollapse(tree, trip, 0).empty());
    EXPECT_TRUE(ItemsToCollapse(tree, 0, trip).empty());
}

TEST_F(PickerTreeTest, PathsOfTheSelectedAndOfTheCountedItem) {
    const TreeItem year = tree.Add(docs, L"Trip (2005)");
    tree.Select(year);  // now "Trip (2005) (1 Pictures)"
    EXPECT_EQ(JoinFolderPath(FolderNamesOf(tree, year, true)), L"\\My Documents\\Trip (2005)");
    EXPECT_EQ(FolderSearchPattern(L"", FolderNamesOf(tree, day1, false)),
              L"\\My Documents\\Trip\\Day 1\\*.*");
    EXPECT_EQ(FolderSearchPattern(L"C:\\t", {}), L"C:\\t\\*.*");
    EXPECT_EQ(JoinFolderPath({}), L"");
}

TEST(OptionsHeading, SitsInTheBandAboveTheListWithItsLineAfterTheText) {
    const HeadingLayout l = LayOutOptionsHeading(40, 37, 13, 210);
    EXPECT_EQ(l.textLeft, 5);
    EXPECT_EQ(l.textTop, 22);
    EXPECT_EQ(l.textBottom, 35);
    EXPECT_EQ(l.lineY, 32);
    EXPECT_EQ(l.lineFromX, 44);
    EXPECT_EQ(l.lineToX, 210);
}

}  // namespace
}  // namespace glimmora::device::dialogs
