#include "desktop/pictures/folder_listing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/pictures/picture_order.h"
#include "tests/support/temp_folder.h"

namespace glimmora::desktop {
namespace {

using Names = std::vector<std::string>;

Names NamesOf(const PictureList& list) {
    Names names;
    for (const PictureEntry& e : list) names.push_back(e.name);
    return names;
}

class ListFolderTest : public ::testing::Test {
  protected:
    // A file of `bytes` bytes with the given attributes.
    void Make(const std::string& name, DWORD bytes, DWORD attributes = 0) {
        const std::string path = folder_.File(name);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        std::vector<char> data(bytes, 'x');
        DWORD written = 0;
        if (bytes) WriteFile(file, data.data(), bytes, &written, nullptr);
        CloseHandle(file);
        if (attributes) SetFileAttributesA(path.c_str(), attributes);
    }
    void MakeFolder(const std::string& name, DWORD attributes = 0) {
        const std::string path = folder_.File(name);
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        if (attributes) SetFileAttributesA(path.c_str(), attributes);
    }
    void SetLocalWriteTime(const std::string& name, WORD year, WORD month, WORD day, WORD hour,
                           WORD minute, WORD second) {
        SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
        FILETIME localTime, utc;
        ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
        ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
        // Backup semantics, so that folders can be opened as well as files.
        HANDLE file = CreateFileA(folder_.File(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
        CloseHandle(file);
    }
    PictureList List(std::uint8_t key, bool ascending) {
        PictureList list{{"stale", 1, 1, 0}};
        ListFolder(folder_.path(), list, key, ascending);
        return list;
    }

    test::TempFolder folder_;
};

TEST_F(ListFolderTest, KeepsOnlyVisibleNonEmptyJpegsThenSubfolders) {
    Make("b.JPG", 10);
    Make("a.jpeg", 20);
    Make("c.Jpe", 30);
    Make("d.png", 40);
    Make("e.jpg", 0);
    Make("x.jpg.txt", 5);
    Make("x.txt.jpg", 6);
    Make("hidden.jpg", 7, FILE_ATTRIBUTE_HIDDEN);
    Make("system.jpg", 8, FILE_ATTRIBUTE_SYSTEM);
    Make("readonly.jpg", 9, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    MakeFolder("sub");
    MakeFolder("hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder("sys", FILE_ATTRIBUTE_SYSTEM);
    const PictureList list = List(kSortName, true);
    SetFileAttributesA(folder_.File("readonly.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(NamesOf(list),
              (Names{"a.jpeg", "b.JPG", "c.Jpe", "readonly.jpg", "x.txt.jpg", "sub"}));
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0].size, 20);
    EXPECT_EQ(list[0].isDirectory, 0);
    EXPECT_EQ(list[5].isDirectory, 1);
    EXPECT_EQ(list[5].size, 0);
}

TEST_F(ListFolderTest, MissingFolderGivesAnEmptyList) {
    PictureList list{{"stale", 1, 1, 0}};
    ListFolder(folder_.File("nowhere\\"), list, kSortName, true);
    EXPECT_TRUE(list.empty());
}

TEST_F(ListFolderTest, NameOrderFollowsTheLocaleNotTheBytes) {
    Make("c.jpg", 1);
    Make("B.jpg", 1);
    Make("a.jpg", 1);
    EXPECT_EQ(NamesOf(List(kSortName, true)), (Names{"a.jpg", "B.jpg", "c.jpg"}));
    EXPECT_EQ(NamesOf(List(kSortName, false)), (Names{"c.jpg", "B.jpg", "a.jpg"}));
    EXPECT_LT(LocaleNameOrder("a.jpg", "B.jpg"), 0);
    EXPECT_GT(LocaleNameOrder("c.jpg", "B.jpg"), 0);
}

TEST_F(ListFolderTest, WriteTimeIsPackedLocalTimeAndTiesGoByName) {
    Make("m.jpg", 1);
    Make("k.jpg", 1);
    Make("z.jpg", 1);
    MakeFolder("a_new");
    MakeFolder("b_old");
    SetLocalWriteTime("m.jpg", 2021, 6, 15, 13, 45, 11);
    SetLocalWriteTime("k.jpg", 2021, 6, 15, 13, 45, 10);  // the same two seconds as m.jpg
    SetLocalWriteTime("z.jpg", 2020, 1, 2, 3, 4, 6);
    // Subfolders are ordered by their own write time, against their name order.
    SetLocalWriteTime("a_new", 2022, 3, 4, 5, 6, 8);
    SetLocalWriteTime("b_old", 2019, 3, 4, 5, 6, 8);
    const PictureList ascending = List(kSortDate, true);
    EXPECT_EQ(NamesOf(ascending), (Names{"z.jpg", "k.jpg", "m.jpg", "b_old", "a_new"}));
    ASSERT_EQ(ascending.size(), 5u);
    EXPECT_EQ(ascending[0].time, PackDosDateTime(2020, 1, 2, 3, 4, 6));
    EXPECT_EQ(ascending[1].time, PackDosDateTime(2021, 6, 15, 13, 45, 10));
    EXPECT_EQ(ascending[2].time, ascending[1].time);
    EXPECT_EQ(ascending[4].time, PackDosDateTime(2022, 3, 4, 5, 6, 8));
    EXPECT_EQ(NamesOf(List(kSortDate, false)),
              (Names{"m.jpg", "k.jpg", "z.jpg", "a_new", "b_old"}));
}

TEST_F(ListFolderTest, SizeDescendingPutsTheLargestFirstAndEqualSizesInDescendingNames) {
    Make("a.jpg", 100);
    Make("b.jpg", 300);
    Make("c.jpg", 100);
    Make("d.jpg", 50);
    EXPECT_EQ(NamesOf(List(kSortSize, false)), (Names{"b.jpg", "c.jpg", "a.jpg", "d.jpg"}));
    EXPECT_EQ(NamesOf(List(kSortSize, true)), (Names{"d.jpg", "a.jpg", "c.jpg", "b.jpg"}));
}

TEST_F(ListFolderTest, RandomOrderKeepsSubfoldersLastInAscendingNames) {
    for (int i = 0; i < 12; ++i) Make("p" + std::to_string(i) + ".jpg", 1);
    MakeFolder("zz");
    MakeFolder("aa");
    MakeFolder("mm");
    for (std::uint8_t key : {std::uint8_t{0}, std::uint8_t{7}}) {
        const PictureList list = List(key, false);
        ASSERT_EQ(list.size(), 15u);
        const Names names = NamesOf(list);
        EXPECT_EQ(Names(names.begin() + 12, names.end()), (Names{"aa", "mm", "zz"}));
        for (int i = 0; i < 12; ++i) EXPECT_EQ(list[static_cast<std::size_t>(i)].isDirectory, 0);
    }
}

TEST_F(ListFolderTest, ANameTheCodePageLacksIsReachedThroughItsShortAlias) {
    Make("b.jpg", 2);
    Make("Caf\xE9.jpg", 3);  // converts in CP1252: listed and opened as it is
    // Japanese and Greek letters: outside the desktop's code page. The temporary folder's
    // path is plain ASCII, so widening it byte by byte is exact.
    const std::wstring folderWide(folder_.path().begin(), folder_.path().end());
    HANDLE file = CreateFileW((folderWide + L"\u65E5\u672C\u306E\u6D77.jpg").c_str(), GENERIC_WRITE,
                              0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "12345", 5, &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(
        CreateDirectoryW((folderWide + L"\u03A9\u03BC\u03AD\u03B3\u03B1").c_str(), nullptr));

    const PictureList list = List(kSortName, true);
    ASSERT_EQ(list.size(), 4u);
    for (const PictureEntry& e : list) {
        SCOPED_TRACE(e.name);
        const bool foreignName = e.name.find('?') != std::string::npos;
        // Only the names that did not convert carry an alias, and the alias opens the entry.
        EXPECT_EQ(e.alias.empty(), !foreignName);
        EXPECT_NE(GetFileAttributesA(folder_.File(PathName(e)).c_str()), INVALID_FILE_ATTRIBUTES);
        if (foreignName && !e.isDirectory) {
            EXPECT_EQ(e.name, "????.jpg");
            EXPECT_EQ(e.size, 5);
        }
    }
    EXPECT_EQ(list[3].isDirectory, 1);
    // The order is the long names' order, whatever the aliases are.
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_LT(LocaleNameOrder(list[i - 1].name, list[i].name), 0) << list[i].name;
    }
}

}  // namespace
}  // namespace glimmora::desktop
