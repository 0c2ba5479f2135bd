#include "device/association/association_rules.h"

#include <gtest/gtest.h>

namespace glimmora::device::association {
namespace {

TEST(ProgramOfCommand, CutsAtTheFirstBlankThenStripsBlanksAndQuotes) {
    struct Case {
        const wchar_t* command;
        const wchar_t* program;
    } cases[] = {
        {L"\"\\Windows\\viewer.exe\" %1", L"\\Windows\\viewer.exe"},
        {L"pimg.exe \"%1\"", L"pimg.exe"},
        {L"\\Windows\\viewer.exe", L"\\Windows\\viewer.exe"},
        // A quoted path below a folder with a blank is cut inside the folder's name.
        {L"\"\\Program Files\\Viewer\\v.exe\" %1", L"\\Program"},
        {L"\"\"x.exe\"\" %1", L"x.exe"},
        {L" leading blank", L""},
        {L"\"", L"\""},  // the last remaining character stays
        {L"\"\"", L"\""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgramOfCommand(c.command), c.program)
            << "command: " << testing::PrintToString(std::wstring(c.command));
    }
}

TEST(ProgramOfCommand, OnlyPathsWithABackslashAreLookedFor) {
    EXPECT_TRUE(ProgramNeedsFileCheck(L"\\Windows\\pimg.exe"));
    EXPECT_FALSE(ProgramNeedsFileCheck(L"pimg.exe"));
    EXPECT_FALSE(ProgramNeedsFileCheck(L""));
}

TEST(TakeOverValues, QuoteTheModulePathAndPointAtItsFirstIcon) {
    EXPECT_EQ(OpenCommandFor(L"\\Program Files\\Glimmora\\Glimmora.exe"),
              L"\"\\Program Files\\Glimmora\\Glimmora.exe\" %1");
    EXPECT_EQ(IconFor(L"\\Program Files\\Glimmora\\Glimmora.exe"),
              L"\\Program Files\\Glimmora\\Glimmora.exe,0");
}

TEST(CommandNamesProgram, FindsTheModulePathAnywhereIgnoringCase) {
    const std::wstring module = L"\\Program Files\\Glimmora\\Glimmora.exe";
    EXPECT_TRUE(CommandNamesProgram(L"\"\\program files\\GLIMMORA\\glimmora.EXE\" %1", module));
    EXPECT_FALSE(CommandNamesProgram(L"pimg.exe \"%1\"", module));
    EXPECT_FALSE(CommandNamesProgram(L"\"\\Program Files\\Glimmora\\Glimmora2.ex\" %1", module));
    EXPECT_TRUE(CommandNamesProgram(L"anything", L""));
}

TEST(ClassKeyPath, FitsTheBufferWithItsTerminator) {
    // "\Shell\Open\Command" has 19 characters: 252 + 19 + 1 = 272.
    const std::wstring fits(252, L'c');
    const std::wstring tooLong(253, L'c');
    ASSERT_TRUE(ClassKeyPath(fits, kOpenCommandSubkey));
    EXPECT_EQ(ClassKeyPath(fits, kOpenCommandSubkey)->size(), 271u);
    EXPECT_FALSE(ClassKeyPath(tooLong, kOpenCommandSubkey));
    EXPECT_TRUE(ClassKeyPath(tooLong, kDefaultIconSubkey));
    EXPECT_TRUE(ClassNameFits(fits));
    EXPECT_FALSE(ClassNameFits(tooLong));
    EXPECT_FALSE(ClassNameFits(L""));
    EXPECT_EQ(*ClassKeyPath(L"jpegfile", kDefaultIconSubkey), L"jpegfile\\DefaultIcon");
}

TEST(DefaultsForVersion, PictureViewerFromVersion4BrowserBelowOrUnknown) {
    EXPECT_STREQ(DefaultsForVersion(4).openCommand, L"pimg.exe \"%1\"");
    EXPECT_STREQ(DefaultsForVersion(5).icon, L"pimg.exe,-101");
    EXPECT_STREQ(DefaultsForVersion(3).openCommand, L"iexplore.exe file:%1");
    EXPECT_STREQ(DefaultsForVersion(3).icon, L"iexplore.exe,-1004");
    EXPECT_STREQ(DefaultsForVersion(std::nullopt).openCommand, L"iexplore.exe file:%1");
}

TEST(ReconcileAssociation, ActsOnlyWhereWishAndStateDiffer) {
    EXPECT_EQ(ReconcileAssociation(true, false), AssociationAction::TakeOver);
    EXPECT_EQ(ReconcileAssociation(false, true), AssociationAction::GiveBack);
    EXPECT_EQ(ReconcileAssociation(true, true), AssociationAction::None);
    EXPECT_EQ(ReconcileAssociation(false, false), AssociationAction::None);
    EXPECT_FALSE(SavedValueInForce(2));
    EXPECT_TRUE(SavedValueInForce(3));
}

}  // namespace
}  // namespace glimmora::device::association
