#include "desktop/session/folder_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace glimmora::desktop::session {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A made-up tree: folder path (lower case, with trailing backslash) to its listing, already
// in display order (files, then subfolders).
class WalkTest : public ::testing::Test {
  protected:
    void Folder(const std::string& path, std::vector<std::string> files,
                std::vector<std::string> folders) {
        PictureList list;
        for (auto& f : files) list.push_back({f, 100, 0, 0});
        for (auto& d : folders) list.push_back({d, 0, 0, 1});
        tree_[Lower(path)] = list;
    }

    FolderWalk Walk(bool random = false) {
        return FolderWalk(
            "C:\\Pics\\", list_, random,
            [this](const std::string& folder, PictureList& list) {
                listed_.push_back(folder);
                auto found = tree_.find(Lower(folder));
                list = found == tree_.end() ? PictureList() : found->second;
            },
            SameIgnoringCase);
    }

    // Runs passes as the session does, advancing past every picture, and gives the next
    // `count` pictures' paths, with the pass kinds between them in `kinds`.
    std::vector<std::string> Pictures(FolderWalk& walk, int count, std::string* kinds = nullptr) {
        std::vector<std::string> seen;
        for (int guard = 0; guard < 1000 && static_cast<int>(seen.size()) < count; ++guard) {
            switch (walk.Pass(changed_)) {
                case PassKind::kPicture:
                    seen.push_back(walk.PicturePath());
                    walk.Advance();
                    if (kinds) *kinds += "P";
                    break;
                case PassKind::kDescended:
                    if (kinds) *kinds += "D";
                    break;
                case PassKind::kClimbed:
                    if (kinds) *kinds += "C";
                    break;
                case PassKind::kWrapped:
                    if (kinds) *kinds += "W";
                    break;
                case PassKind::kRootEmpty:
                    if (kinds) *kinds += "E";
                    return seen;
            }
        }
        return seen;
    }

    void SetUp() override {
        Folder("C:\\Pics\\", {"a.jpg", "b.jpg"}, {"one", "two"});
        Folder("C:\\Pics\\one\\", {"x.jpg"}, {"deep"});
        Folder("C:\\Pics\\one\\deep\\", {"y.jpg"}, {});
        Folder("C:\\Pics\\two\\", {"z.jpg"}, {});
    }

    std::map<std::string, PictureList> tree_;
    PictureList list_;
    std::vector<std::string> listed_;
    std::int32_t changed_ = 0;
};

const std::vector<std::string> kFullRound = {"C:\\Pics\\a.jpg",      "C:\\Pics\\b.jpg",
                                             "C:\\Pics\\one\\x.jpg", "C:\\Pics\\one\\deep\\y.jpg",
                                             "C:\\Pics\\two\\z.jpg", "C:\\Pics\\a.jpg"};

TEST_F(WalkTest, DescendsClimbsContinuesAfterTheSubfolderAndWraps) {
    FolderWalk walk = Walk();
    walk.Resume("", false);
    std::string kinds;
    EXPECT_EQ(Pictures(walk, 6, &kinds), kFullRound);
    // Into one and deep, out of deep and one, into two, out of two, wrap at the root.
    EXPECT_EQ(kinds, "PPDPDPCCDPCWP");
    // Subfolders are listed each time they are entered or climbed back to; the root is not
    // listed again at the wrap.
    EXPECT_EQ(std::count(listed_.begin(), listed_.end(), "C:\\Pics\\"), 3);  // start, two climbs
}

TEST_F(WalkTest, ResumesInsideASubfolderAfterTheLastPictureIgnoringCase) {
    FolderWalk walk = Walk();
    walk.Resume("c:\\PICS\\One\\X.JPG", true);
    EXPECT_EQ(Pictures(walk, 3),
              (std::vector<std::string>{"c:\\PICS\\One\\deep\\y.jpg", "c:\\PICS\\two\\z.jpg",
                                        "c:\\PICS\\a.jpg"}));
}

TEST_F(WalkTest, ResumeAfterAFoldersLastEntryMovesOnAtTheFirstPass) {
    FolderWalk walk = Walk();
    walk.Resume("C:\\Pics\\two\\z.jpg", true);
    EXPECT_EQ(walk.position(), 1);  // the entry count: the listing is exhausted
    std::string kinds;
    EXPECT_EQ(Pictures(walk, 1, &kinds), (std::vector<std::string>{"C:\\Pics\\a.jpg"}));
    EXPECT_EQ(kinds, "CWP");
}

TEST_F(WalkTest, VanishedOrOutsideOrUnknownPicturesStartAtTheRootsFirstEntry) {
    const struct {
        const char* last;
        bool exists;
    } cases[] = {
        {"C:\\Pics\\one\\x.jpg", false},    // no longer there
        {"C:\\Other\\one\\x.jpg", true},    // outside the root
        {"C:\\Pictures\\x.jpg", true},      // shares the root's first letters only
        {"C:\\Pics\\one\\gone.jpg", true},  // its folder, but not in the listing: start of it
        {"x.jpg", true},                    // no folder at all
    };
    for (const auto& c : cases) {
        FolderWalk walk = Walk();
        walk.Resume(c.last, c.exists);
        const std::string first = Pictures(walk, 1).at(0);
        if (std::string(c.last) == "C:\\Pics\\one\\gone.jpg") {
            EXPECT_EQ(first, "C:\\Pics\\one\\x.jpg") << c.last;
        } else {
            EXPECT_EQ(first, "C:\\Pics\\a.jpg") << c.last;
        }
    }
}

TEST_F(WalkTest, AnEntryWithAnAliasIsOpenedEnteredAndResumedThroughIt) {
    // Long names the code page lacks ("??.jpg", "??") come with their short aliases.
    PictureList root{
        {"??.jpg", 100, 0, 0, "AB~1.JPG"}, {"b.jpg", 100, 0, 0}, {"??", 0, 0, 1, "CD~1"}};
    tree_["c:\\pics\\"] = root;
    Folder("C:\\Pics\\CD~1\\", {"x.jpg"}, {});
    FolderWalk walk = Walk();
    walk.Resume("", false);
    EXPECT_EQ(Pictures(walk, 3), (std::vector<std::string>{"C:\\Pics\\AB~1.JPG", "C:\\Pics\\b.jpg",
                                                           "C:\\Pics\\CD~1\\x.jpg"}));
    FolderWalk resumed = Walk();
    resumed.Resume("C:\\Pics\\ab~1.jpg", true);
    EXPECT_EQ(Pictures(resumed, 2),
              (std::vector<std::string>{"C:\\Pics\\b.jpg", "C:\\Pics\\CD~1\\x.jpg"}));
    // Climbing out of the aliased subfolder finds it again: the wrap comes next.
    EXPECT_EQ(Pictures(resumed, 1), (std::vector<std::string>{"C:\\Pics\\AB~1.JPG"}));
}

TEST_F(WalkTest, RandomOrderStartsAtTheFirstEntryOfTheResumedFolder) {
    FolderWalk walk = Walk(true);
    walk.Resume("C:\\Pics\\b.jpg", true);
    EXPECT_EQ(walk.position(), 0);
    EXPECT_EQ(Pictures(walk, 1).at(0), "C:\\Pics\\a.jpg");
}

TEST_F(WalkTest, ResumeFindsFilesOnlyNotASubfolderOfTheSameName) {
    Folder("C:\\Pics\\", {"a.jpg"}, {"b.jpg"});
    Folder("C:\\Pics\\b.jpg\\", {"inner.jpg"}, {});
    FolderWalk walk = Walk();
    walk.Resume("C:\\Pics\\b.jpg", true);
    EXPECT_EQ(walk.position(), 0);
}

TEST_F(WalkTest, TheRootIsListedAgainAtAWrapOnlyAfterAReportedChange) {
    Folder("C:\\Pics\\", {"a.jpg"}, {});
    FolderWalk walk = Walk();
    walk.Resume("", false);
    Pictures(walk, 1);
    Folder("C:\\Pics\\", {"a.jpg", "new.jpg"}, {});
    EXPECT_EQ(Pictures(walk, 2), (std::vector<std::string>{"C:\\Pics\\a.jpg", "C:\\Pics\\a.jpg"}));
    changed_ = 1;
    EXPECT_EQ(Pictures(walk, 3), (std::vector<std::string>{"C:\\Pics\\a.jpg", "C:\\Pics\\new.jpg",
                                                           "C:\\Pics\\a.jpg"}));
    EXPECT_EQ(changed_, 0);
}

TEST_F(WalkTest, ClimbingClearsTheChangeFlagSinceTheParentWasJustListed) {
    FolderWalk walk = Walk();
    walk.Resume("C:\\Pics\\two\\z.jpg", true);
    changed_ = 1;
    EXPECT_EQ(walk.Pass(changed_), PassKind::kClimbed);
    EXPECT_EQ(changed_, 0);
}

TEST_F(WalkTest, ADroppedPictureLeavesTheListingAndTheNextTakesItsPlace) {
    FolderWalk walk = Walk();
    walk.Resume("", false);
    ASSERT_EQ(walk.Pass(changed_), PassKind::kPicture);
    walk.Drop();
    ASSERT_EQ(walk.Pass(changed_), PassKind::kPicture);
    EXPECT_EQ(walk.PicturePath(), "C:\\Pics\\b.jpg");
    EXPECT_EQ(list_.size(), 3u);
}

TEST_F(WalkTest, AnEmptyRootKeepsReportingEmptyUntilAChangeFillsIt) {
    Folder("C:\\Pics\\", {}, {});
    FolderWalk walk = Walk();
    walk.Resume("", false);
    EXPECT_EQ(walk.Pass(changed_), PassKind::kRootEmpty);
    EXPECT_EQ(walk.Pass(changed_), PassKind::kRootEmpty);
    Folder("C:\\Pics\\", {"late.jpg"}, {});
    changed_ = 1;
    EXPECT_EQ(walk.Pass(changed_), PassKind::kWrapped);
    EXPECT_EQ(Pictures(walk, 1).at(0), "C:\\Pics\\late.jpg");
}

TEST_F(WalkTest, AnEmptySubfolderIsEnteredAndLeftWithoutAPicture) {
    Folder("C:\\Pics\\", {"a.jpg"}, {"empty"});
    FolderWalk walk = Walk();
    walk.Resume("", false);
    std::string kinds;
    EXPECT_EQ(Pictures(walk, 2, &kinds),
              (std::vector<std::string>{"C:\\Pics\\a.jpg", "C:\\Pics\\a.jpg"}));
    EXPECT_EQ(kinds, "PDCWP");
}

}  // namespace
}  // namespace glimmora::desktop::session
