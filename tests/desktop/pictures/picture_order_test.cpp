#include "desktop/pictures/picture_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace glimmora::desktop {
namespace {

// Stand-ins for the locale comparisons: byte order, and ASCII case-insensitive equality.
int ByteOrder(const std::string& a, const std::string& b) {
    return std::strcmp(a.c_str(), b.c_str());
}
int CaseBlindOrder(const std::string& a, const std::string& b) {
    std::string la = a, lb = b;
    for (char& c : la) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : lb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return la.compare(lb);
}
bool CaseBlindEquals(const std::string& a, const std::string& b) {
    return CaseBlindOrder(a, b) == 0;
}

PictureEntry File(const std::string& name, std::int32_t size, std::int32_t time) {
    return PictureEntry{name, size, time, 0};
}
PictureEntry Folder(const std::string& name) { return PictureEntry{name, 0, 0, 1}; }

std::vector<std::string> Names(const PictureList& list) {
    std::vector<std::string> names;
    for (const PictureEntry& e : list) names.push_back(e.name);
    return names;
}

using Names_t = std::vector<std::string>;

TEST(PictureExtension, OnlyTheLastExtensionCountsAndCaseIsIgnored) {
    EXPECT_TRUE(HasPictureExtension("x.txt.jpg", CaseBlindEquals));
    EXPECT_FALSE(HasPictureExtension("x.jpg.txt", CaseBlindEquals));
    EXPECT_TRUE(HasPictureExtension("c.Jpe", CaseBlindEquals));
    EXPECT_TRUE(HasPictureExtension("a.JPEG", CaseBlindEquals));
    EXPECT_FALSE(HasPictureExtension("d.png", CaseBlindEquals));
    EXPECT_FALSE(HasPictureExtension("jpg", CaseBlindEquals));
    EXPECT_FALSE(HasPictureExtension("photo.jp", CaseBlindEquals));
    EXPECT_FALSE(HasPictureExtension("photo.jpgx", CaseBlindEquals));
}

TEST(PackDosDateTime, DateHighTimeLowInTwoSecondSteps) {
    const std::int32_t packed = PackDosDateTime(2026, 12, 8, 17, 30, 59);
    EXPECT_EQ(static_cast<std::uint32_t>(packed) >> 16, (2026u - 1980u) * 512u + 12u * 32u + 8u);
    EXPECT_EQ(static_cast<std::uint32_t>(packed) & 0xFFFFu, 17u * 2048u + 30u * 32u + 29u);
    EXPECT_EQ(PackDosDateTime(2026, 12, 8, 17, 30, 58), packed);
    EXPECT_LT(PackDosDateTime(2026, 12, 8, 17, 30, 57), packed);
}

TEST(DisplayOrder, NameAscendingAndDescendingBreakTiesByTime) {
    // Under a case-blind name order "b.jpg" and "B.jpg" tie, so their times decide.
    PictureList list{File("c.jpg", 1, 5), File("B.jpg", 1, 9), File("a.jpg", 1, 7),
                     File("b.jpg", 1, 3)};
    SortPictures(list, kSortName, true, CaseBlindOrder);
    EXPECT_EQ(Names(list), (Names_t{"a.jpg", "b.jpg", "B.jpg", "c.jpg"}));
    SortPictures(list, kSortName, false, CaseBlindOrder);
    EXPECT_EQ(Names(list), (Names_t{"c.jpg", "B.jpg", "b.jpg", "a.jpg"}));
}

TEST(DisplayOrder, SizeTiesGoByNameThenTime) {
    PictureList list{File("b.jpg", 500, 1), File("a.jpg", 500, 1), File("z.jpg", 100, 1),
                     File("c.jpg", 900, 1), File("A.jpg", 500, 0)};
    SortPictures(list, kSortSize, true, CaseBlindOrder);
    EXPECT_EQ(Names(list), (Names_t{"z.jpg", "A.jpg", "a.jpg", "b.jpg", "c.jpg"}));
    SortPictures(list, kSortSize, false, CaseBlindOrder);
    EXPECT_EQ(Names(list), (Names_t{"c.jpg", "b.jpg", "a.jpg", "A.jpg", "z.jpg"}));
}

TEST(DisplayOrder, PicturesWrittenWithinTwoSecondsTieOnDateAndGoByName) {
    const std::int32_t t = PackDosDateTime(2020, 5, 1, 10, 0, 10);
    const std::int32_t sameTwoSeconds = PackDosDateTime(2020, 5, 1, 10, 0, 11);
    const std::int32_t earlier = PackDosDateTime(2019, 1, 1, 0, 0, 0);
    PictureList list{File("m.jpg", 1, sameTwoSeconds), File("k.jpg", 1, t),
                     File("z.jpg", 1, earlier)};
    SortPictures(list, kSortDate, true, ByteOrder);
    EXPECT_EQ(Names(list), (Names_t{"z.jpg", "k.jpg", "m.jpg"}));
    SortPictures(list, kSortDate, false, ByteOrder);
    EXPECT_EQ(Names(list), (Names_t{"m.jpg", "k.jpg", "z.jpg"}));
}

TEST(DisplayOrder, DatesFrom2044OnSortAfterEarlierOnes) {
    // Such dates are negative as signed 32-bit values; a plain subtraction would put them
    // first (or overflow).
    PictureList list{File("future.jpg", 1, PackDosDateTime(2050, 1, 1, 0, 0, 0)),
                     File("past.jpg", 1, PackDosDateTime(1990, 1, 1, 0, 0, 0)),
                     File("now.jpg", 1, PackDosDateTime(2026, 1, 1, 0, 0, 0))};
    ASSERT_LT(list[0].time, 0);
    SortPictures(list, kSortDate, true, ByteOrder);
    EXPECT_EQ(Names(list), (Names_t{"past.jpg", "now.jpg", "future.jpg"}));
}

TEST(Random31, IsTheMinimalStandardSequence) {
    Random31 random(1);
    std::minstd_rand reference(1);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(random.Next(), static_cast<std::int32_t>(reference()));
    Random31 fromZero(0);  // a zero seed must not stick at zero
    EXPECT_GT(fromZero.Next(), 0);
}

TEST(ShufflePictures, ExchangesEachPositionWithRandomModN) {
    // Seed 1 draws 48271, 182605794, 1291394886, 1914720637: swaps (0,3), (1,2), (2,2), (3,1).
    PictureList list{File("a", 1, 0), File("b", 1, 0), File("c", 1, 0), File("d", 1, 0)};
    Random31 random(1);
    ShufflePictures(list, random);
    EXPECT_EQ(Names(list), (Names_t{"d", "a", "b", "c"}));
}

TEST(OrderListing, RandomOrderPutsSubfoldersLastInAscendingNameOrder) {
    PictureList files, folders;
    for (int i = 0; i < 30; ++i)
        files.push_back(File("p" + std::to_string(100 + i) + ".jpg", 1, 0));
    folders = {Folder("zeta"), Folder("alpha"), Folder("mid")};
    PictureList again = files;
    PictureList againFolders = folders;
    OrderListing(files, folders, kSortRandom, /*ascending=*/false, ByteOrder, 12345);
    ASSERT_EQ(files.size(), 33u);
    EXPECT_TRUE(folders.empty());
    EXPECT_EQ(Names(PictureList(files.end() - 3, files.end())), (Names_t{"alpha", "mid", "zeta"}));
    for (int i = 0; i < 30; ++i) EXPECT_EQ(files[static_cast<std::size_t>(i)].isDirectory, 0);

    // The files are a reordering of the same entries; the same second gives the same order,
    // another second (almost surely) another.
    const Names_t all = Names(files);
    Names_t sorted(all.begin(), all.begin() + 30);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, Names(again));
    PictureList sameSecond = again, sameFolders = againFolders;
    OrderListing(sameSecond, sameFolders, kSortRandom, true, ByteOrder, 12345);
    EXPECT_EQ(Names(sameSecond), Names(files));
    PictureList nextSecond = again, nextFolders = againFolders;
    OrderListing(nextSecond, nextFolders, kSortRandom, true, ByteOrder, 12346);
    EXPECT_NE(Names(nextSecond), Names(files));
}

TEST(OrderListing, SortedOrdersSortSubfoldersWithTheSameKey) {
    PictureList files{File("b.jpg", 2, 0), File("a.jpg", 1, 0)};
    PictureList folders{Folder("x"), Folder("y")};
    OrderListing(files, folders, kSortName, false, ByteOrder, 0);
    EXPECT_EQ(Names(files), (Names_t{"b.jpg", "a.jpg", "y", "x"}));
}

}  // namespace
}  // namespace glimmora::desktop
