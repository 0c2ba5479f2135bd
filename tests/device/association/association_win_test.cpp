#include "device/association/association_win.h"

#include <gtest/gtest.h>

#include <fstream>

#include "device/association/association_rules.h"
#include "scratch_registry_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::device::association {
namespace {

using test::ScratchRegistry;

const std::wstring kClass = L"jpegfile";
const std::wstring kCommandKey = kClass + L"\\Shell\\Open\\Command";
const std::wstring kIconKey = kClass + L"\\DefaultIcon";
const std::wstring kAppKey = L"Software\\Kestrova\\Glimmora";
const std::wstring kModule = L"\\Program Files\\Glimmora\\Glimmora.exe";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class AssociationTest : public testing::Test {
  protected:
    std::optional<std::wstring> Command() { return reg.Text(reg.classes(), kCommandKey, nullptr); }
    std::optional<std::wstring> Icon() { return reg.Text(reg.classes(), kIconKey, nullptr); }
    std::optional<std::wstring> Saved(const wchar_t* name) {
        return reg.Text(reg.currentUser(), kAppKey, name);
    }
    void Save(const std::wstring& command, const std::wstring& icon) {
        reg.SetText(reg.currentUser(), kAppKey, kOldShellOpenCommand, command);
        reg.SetText(reg.currentUser(), kAppKey, kOldDefaultIcon, icon);
    }

    ScratchRegistry reg;
};

TEST_F(AssociationTest, TakeOverFromThePictureViewerSavesItsCommandAndIcon) {
    reg.SetJpegClass(kClass, L"pimg.exe \"%1\"", L"pimg.exe,-101");
    TakeOverAssociation(reg.places(), kModule);
    EXPECT_EQ(Command(), L"\"\\Program Files\\Glimmora\\Glimmora.exe\" %1");
    EXPECT_EQ(Icon(), L"\\Program Files\\Glimmora\\Glimmora.exe,0");
    EXPECT_EQ(Saved(kOldShellOpenCommand), L"pimg.exe \"%1\"");
    EXPECT_EQ(Saved(kOldDefaultIcon), L"pimg.exe,-101");
    EXPECT_TRUE(AssociationInForce(reg.places()));
    EXPECT_TRUE(AssociationKept(reg.places(), kModule));
}

TEST_F(AssociationTest, TakeOverKeepsTheTypeOfTheValuesItReplaces) {
    reg.SetJpegClass(kClass, L"pimg.exe \"%1\"", L"pimg.exe,-101");
    reg.SetText(reg.classes(), kCommandKey, nullptr, L"%windir%\\pimg.exe \"%1\"", REG_EXPAND_SZ);
    TakeOverAssociation(reg.places(), kModule);
    EXPECT_EQ(reg.Type(reg.classes(), kCommandKey, nullptr), DWORD{REG_EXPAND_SZ});
    EXPECT_EQ(reg.Type(reg.classes(), kIconKey, nullptr), DWORD{REG_SZ});
    // The saved copy is always plain text.
    EXPECT_EQ(reg.Type(reg.currentUser(), kAppKey, kOldShellOpenCommand), DWORD{REG_SZ});
}

TEST_F(AssociationTest, TakeOverWithoutACommandSavesNothingAndLeavesTheIcon) {
    reg.SetText(reg.classes(), L".jpg", nullptr, kClass);
    reg.SetText(reg.classes(), kIconKey, nullptr, L"pimg.exe,-101");
    TakeOverAssociation(reg.places(), kModule);
    EXPECT_EQ(Icon(), L"pimg.exe,-101");
    EXPECT_FALSE(Saved(kOldShellOpenCommand));
    EXPECT_FALSE(Saved(kOldDefaultIcon));
    EXPECT_FALSE(AssociationInForce(reg.places()));
}

TEST_F(AssociationTest, ClassNamesTooLongForTheKeyPathAreLeftAlone) {
    // 252 characters and "\Shell\Open\Command" fill the 272-character buffer exactly.
    for (std::size_t length : {252u, 253u}) {
        ScratchRegistry local;
        const std::wstring name(length, L'k');
        local.SetJpegClass(name, L"pimg.exe \"%1\"", L"pimg.exe,-101");
        TakeOverAssociation(local.places(), kModule);
        const auto command = local.Text(local.classes(), name + L"\\Shell\\Open\\Command", nullptr);
        if (length == 252) {
            EXPECT_EQ(command, OpenCommandFor(kModule));
            EXPECT_TRUE(AssociationInForce(local.places()));
            GiveBackAssociation(local.places(), 5);
            EXPECT_EQ(local.Text(local.classes(), name + L"\\Shell\\Open\\Command", nullptr),
                      L"pimg.exe \"%1\"");
        } else {
            EXPECT_EQ(command, L"pimg.exe \"%1\"");
            EXPECT_FALSE(AssociationInForce(local.places()));
            local.SetText(local.classes(), name + L"\\Shell\\Open\\Command", nullptr,
                          L"other.exe %1");
            EXPECT_TRUE(AssociationKept(local.places(), kModule));
        }
    }
}

TEST_F(AssociationTest, GiveBackRestoresASavedProgramThatExists) {
    const std::optional<std::wstring> self = CurrentModulePath();
    ASSERT_TRUE(self);
    ASSERT_EQ(self->find(L' '), std::wstring::npos) << "the test program's path has a blank";
    const std::wstring saved = L"\"" + *self + L"\" %1";
    reg.SetJpegClass(kClass, OpenCommandFor(kModule), IconFor(kModule));
    Save(saved, *self + L",-3");
    GiveBackAssociation(reg.places(), 5);
    EXPECT_EQ(Command(), saved);
    EXPECT_EQ(Icon(), *self + L",-3");
    EXPECT_FALSE(Saved(kOldShellOpenCommand));
    EXPECT_FALSE(Saved(kOldDefaultIcon));
}

TEST_F(AssociationTest, GiveBackFallsBackToThePlatformDefaults) {
    test::TempFolder temp;
    std::string spaced = temp.File("Picture Tools");
    ::CreateDirectoryA(spaced.c_str(), nullptr);
    const std::string program = spaced + "\\view.exe";
    std::ofstream(program) << "MZ";
    struct Case {
        std::wstring saved;
        unsigned long version;
        const wchar_t* command;
        const wchar_t* icon;
    } cases[] = {
        {L"\\Windows\\gone.exe %1", 5, L"pimg.exe \"%1\"", L"pimg.exe,-101"},
        {L"\"\\Windows\\gone.exe\" \"%1\"", 3, L"iexplore.exe file:%1", L"iexplore.exe,-1004"},
        // The program exists, but the cut at the first blank leaves a path that does not.
        {L"\"" + Wide(program) + L"\" %1", 5, L"pimg.exe \"%1\"", L"pimg.exe,-101"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.saved));
        reg.SetJpegClass(kClass, OpenCommandFor(kModule), IconFor(kModule));
        Save(c.saved, L"saved.exe,-7");
        GiveBackAssociation(reg.places(), c.version);
        EXPECT_EQ(Command(), c.command);
        EXPECT_EQ(Icon(), c.icon);
    }
}

TEST_F(AssociationTest, GiveBackRestoresABareProgramNameWithoutLookingForIt) {
    reg.SetJpegClass(kClass, OpenCommandFor(kModule), IconFor(kModule));
    Save(L"nosuchviewer.exe \"%1\"", L"nosuchviewer.exe,-1");
    GiveBackAssociation(reg.places(), 5);
    EXPECT_EQ(Command(), L"nosuchviewer.exe \"%1\"");
    EXPECT_EQ(Icon(), L"nosuchviewer.exe,-1");
}

TEST_F(AssociationTest, GiveBackWithoutAClassStillForgetsTheSavedValues) {
    Save(L"pimg.exe \"%1\"", L"pimg.exe,-101");
    GiveBackAssociation(reg.places(), 5);
    EXPECT_FALSE(Saved(kOldShellOpenCommand));
    EXPECT_FALSE(Saved(kOldDefaultIcon));
    EXPECT_FALSE(reg.KeyExists(reg.classes(), kClass));
}

TEST_F(AssociationTest, AnotherProgramsCommandMeansTheAssociationIsLost) {
    reg.SetJpegClass(kClass, L"\"\\Windows\\Other.exe\" %1", L"other.exe,0");
    Save(L"pimg.exe \"%1\"", L"pimg.exe,-101");
    EXPECT_FALSE(AssociationKept(reg.places(), kModule));
    ForgetSavedAssociation(reg.places());
    EXPECT_FALSE(AssociationInForce(reg.places()));
    EXPECT_EQ(Command(), L"\"\\Windows\\Other.exe\" %1");
    // Our own command, in another letter case, is still ours; no command at all tells nothing.
    reg.SetText(reg.classes(), kCommandKey, nullptr,
                L"\"\\program files\\glimmora\\GLIMMORA.EXE\" %1");
    EXPECT_TRUE(AssociationKept(reg.places(), kModule));
    ::RegDeleteKeyW(reg.classes(), kCommandKey.c_str());
    EXPECT_TRUE(AssociationKept(reg.places(), kModule));
}

}  // namespace
}  // namespace glimmora::device::association
