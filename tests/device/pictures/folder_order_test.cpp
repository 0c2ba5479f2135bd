#include "device/pictures/folder_order.h"

#include <gtest/gtest.h>

#include <set>

namespace glimmora::device {
namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    PictureList list;
    std::vector<FolderEntry> entries;
    for (const std::wstring& name : names) entries.push_back({name, 1, 0});
    BuildPictureList(list, entries);
    return list.pictureNames;
}

TEST(FolderOrderTest, NamesSortByCodeUnitCaseSensitively) {
    EXPECT_EQ(Sorted({L"a9.jpg", L"B.jpg", L"a10.jpg"}),
              (std::vector<std::wstring>{L"B.jpg", L"a10.jpg", L"a9.jpg"}));
    EXPECT_EQ(Sorted({L"apple.jpg", L"Zoo.jpg", L"IMG_9.jpg", L"IMG_10.jpg", L"a.jpg", L"a.JPG"}),
              (std::vector<std::wstring>{L"IMG_10.jpg", L"IMG_9.jpg", L"Zoo.jpg", L"a.JPG",
                                         L"a.jpg", L"apple.jpg"}));
    EXPECT_EQ(CompareNames(L"ab.jpg", L"ab.jpg"), 0);
    EXPECT_EQ(CompareNames(L"ab", L"ab.jpg"), -1);  // a prefix comes first
    EXPECT_EQ(CompareNames(L"ab.jpg", L"ab"), 1);
    // Units are unsigned: U+00E9 after every ASCII letter.
    EXPECT_EQ(CompareNames(L"\u00e9.jpg", L"z.jpg"), 1);
    // A character outside the basic plane is a surrogate pair (0xD83D...), which comes
    // before U+E000 although its code point is larger.
    EXPECT_EQ(CompareNames(L"\U0001F600.jpg", L"\uE000.jpg"), -1);
    EXPECT_EQ(CompareNames(L"\U0001F600.jpg", L"\uD7FF.jpg"), 1);
}

TEST(FolderOrderTest, OnlyNonEmptyJpegFilesAreKept) {
    PictureList list;
    BuildPictureList(list, {{L"b.JPG", 10, 0},
                            {L"A.jpeg", 10, 0x20},
                            {L"c.jpe", 10, 0},
                            {L"d.gif", 10, 0},
                            {L"e.jpg", 0, 0},
                            {L"f.jpg", 10, kAttributeDirectory},
                            {L"photo.jpg.bak", 10, 0},
                            {L"jpg", 10, 0},
                            {L"x.JPEG", 10, 0},
                            {L"y.jpgx", 10, 0}});
    EXPECT_EQ(list.pictureNames,
              (std::vector<std::wstring>{L"A.jpeg", L"b.JPG", L"c.jpe", L"x.JPEG"}));
}

TEST(FolderOrderTest, CurrentPictureIsFoundIgnoringCaseOrNotAtAll) {
    PictureList list;
    list.currentPath = L"\\Temp\\PIC.JPG";
    BuildPictureList(list, {{L"a.jpg", 5, 0}, {L"pic.jpg", 5, 0}, {L"z.jpg", 5, 0}});
    EXPECT_EQ(list.currentIndex, 1);
    list.currentPath = L"\\Temp\\Glimmora_001.jpg";
    BuildPictureList(list, {{L"a.jpg", 5, 0}});
    EXPECT_EQ(list.currentIndex, -1);
    // Two names differing only in case: the later one in play order wins.
    list.currentPath = L"x.jpg";
    BuildPictureList(list, {{L"x.jpg", 5, 0}, {L"X.jpg", 5, 0}});
    EXPECT_EQ(list.currentIndex, 1);
    EXPECT_EQ(NameFromPath(L"\\My Documents\\Trip\\a.jpg"), L"a.jpg");
    EXPECT_EQ(FolderFromPath(L"\\My Documents\\Trip\\a.jpg"), L"\\My Documents\\Trip\\");
    EXPECT_EQ(FolderFromPath(L"a.jpg"), L"");
}

// A folder whose files can vanish and whose pictures can be undecodable.
struct FakeFolder {
    std::set<std::wstring> missing;
    std::set<std::wstring> broken;
    std::vector<std::wstring> shown;
    StepActions Actions() {
        return {[this](const std::wstring& p) { return missing.count(p) == 0; },
                [this](const std::wstring& p) {
                    shown.push_back(p);
                    return broken.count(p) == 0;
                }};
    }
};

PictureList MakeList(std::int32_t index) {
    PictureList list;
    list.folderPath = L"\\Pics\\";
    list.pictureNames = {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"};
    list.currentIndex = index;
    return list;
}

TEST(FolderOrderTest, StepForwardSkipsAndRemovesVanishedFiles) {
    FakeFolder folder;
    folder.missing = {L"\\Pics\\b.jpg", L"\\Pics\\c.jpg"};
    PictureList list = MakeList(0);
    EXPECT_EQ(StepForward(list, StepKind::kManual, folder.Actions()), StepResult::kShown);
    EXPECT_EQ(folder.shown, (std::vector<std::wstring>{L"\\Pics\\d.jpg"}));
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"a.jpg", L"d.jpg"}));
    EXPECT_EQ(list.currentIndex, 1);
}

TEST(FolderOrderTest, TimedAdvanceWrapsOnceButManualPagingDoesNot) {
    FakeFolder folder;
    PictureList list = MakeList(3);
    EXPECT_EQ(StepForward(list, StepKind::kTimed, folder.Actions()), StepResult::kShown);
    EXPECT_EQ(list.currentIndex, 0);
    EXPECT_EQ(folder.shown.back(), L"\\Pics\\a.jpg");

    // Everything after the current picture vanished: the tick shows nothing and ends on
    // the last entry; the next tick wraps to the first.
    folder.shown.clear();
    folder.missing = {L"\\Pics\\c.jpg", L"\\Pics\\d.jpg"};
    list = MakeList(1);
    EXPECT_EQ(StepForward(list, StepKind::kTimed, folder.Actions()), StepResult::kNothingShown);
    EXPECT_TRUE(folder.shown.empty());
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"a.jpg", L"b.jpg"}));
    EXPECT_EQ(list.currentIndex, 1);
    EXPECT_EQ(StepForward(list, StepKind::kTimed, folder.Actions()), StepResult::kShown);
    EXPECT_EQ(list.currentIndex, 0);

    // Manual paging past a vanished last picture shows nothing and stays on the last entry.
    folder.missing = {L"\\Pics\\d.jpg"};
    list = MakeList(2);
    EXPECT_EQ(StepForward(list, StepKind::kManual, folder.Actions()), StepResult::kNothingShown);
    EXPECT_EQ(list.currentIndex, 2);
}

TEST(FolderOrderTest, UndecodablePictureIsDroppedWhenPagingButKeptByTheTimer) {
    FakeFolder folder;
    folder.broken = {L"\\Pics\\c.jpg"};
    PictureList list = MakeList(1);
    EXPECT_EQ(StepForward(list, StepKind::kTimed, folder.Actions()), StepResult::kLoadFailed);
    EXPECT_EQ(list.pictureNames.size(), 4u);
    EXPECT_EQ(list.currentIndex, 2);

    list = MakeList(1);
    EXPECT_EQ(StepForward(list, StepKind::kManual, folder.Actions()), StepResult::kLoadFailed);
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"a.jpg", L"b.jpg", L"d.jpg"}));
    EXPECT_EQ(list.currentIndex, 2);  // now on d.jpg, which moved into the broken one's place

    list = MakeList(3);
    EXPECT_EQ(StepBack(list, folder.Actions()), StepResult::kLoadFailed);
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"a.jpg", L"b.jpg", L"d.jpg"}));
    EXPECT_EQ(list.currentIndex, 2);
}

TEST(FolderOrderTest, StepBackWalksDownPastVanishedFilesAndStopsAtZero) {
    FakeFolder folder;
    folder.missing = {L"\\Pics\\b.jpg", L"\\Pics\\c.jpg"};
    PictureList list = MakeList(3);
    EXPECT_EQ(StepBack(list, folder.Actions()), StepResult::kShown);
    EXPECT_EQ(folder.shown, (std::vector<std::wstring>{L"\\Pics\\a.jpg"}));
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"a.jpg", L"d.jpg"}));
    EXPECT_EQ(list.currentIndex, 0);

    folder.missing = {L"\\Pics\\a.jpg"};
    folder.shown.clear();
    list = MakeList(1);
    EXPECT_EQ(StepBack(list, folder.Actions()), StepResult::kNothingShown);
    EXPECT_TRUE(folder.shown.empty());
    EXPECT_EQ(list.currentIndex, 0);
    EXPECT_EQ(list.pictureNames.front(), L"b.jpg");
}

TEST(FolderOrderTest, UnlocatedPictureMakesNextShowTheFirst) {
    FakeFolder folder;
    PictureList list = MakeList(-1);
    EXPECT_EQ(StepForward(list, StepKind::kManual, folder.Actions()), StepResult::kShown);
    EXPECT_EQ(folder.shown, (std::vector<std::wstring>{L"\\Pics\\a.jpg"}));
    EXPECT_EQ(list.currentIndex, 0);

    PictureList empty;
    EXPECT_EQ(StepForward(empty, StepKind::kTimed, folder.Actions()), StepResult::kNothingShown);
    EXPECT_EQ(empty.currentIndex, 0);
}

}  // namespace
}  // namespace glimmora::device
