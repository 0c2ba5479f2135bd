#include "setup/install_steps_win.h"

#include <gtest/gtest.h>

#include "device/association/association_rules.h"
#include "device/settings/registry_win.h"
#include "scratch_registry_win.h"

namespace glimmora::setup {
namespace {

using device::association::kOldDefaultIcon;
using device::association::kOldShellOpenCommand;

const std::wstring kAppKey = L"Software\\Kestrova\\Glimmora";
const std::wstring kCommandKey = L"jpegfile\\Shell\\Open\\Command";
const std::wstring kIconKey = L"jpegfile\\DefaultIcon";
const std::wstring kOurCommand = L"\"\\Program Files\\Glimmora\\Glimmora.exe\" %1";
const std::wstring kOurIcon = L"\\Program Files\\Glimmora\\Glimmora.exe,0";

class InstallStepsTest : public testing::Test {
  protected:
    SetupPlaces Places() const { return {reg.currentUser(), reg.localMachine(), reg.classes()}; }

    // An installed viewer with its settings, a hand-off value and a key below its own.
    void Install() {
        RecordInstallFolder(Places(), L"\\Program Files\\Glimmora");
        reg.SetDword(reg.currentUser(), kAppKey, L"Options", 3);
        reg.SetDword(reg.currentUser(), kAppKey + L"\\Below", L"x", 1);
        reg.SetDword(reg.currentUser(), L"Software\\Kestrova\\Other", L"kept", 1);
    }
    void ExpectApplicationKeysGone() {
        EXPECT_FALSE(reg.KeyExists(reg.currentUser(), kAppKey));
        EXPECT_FALSE(reg.KeyExists(reg.localMachine(), kAppKey));
        EXPECT_TRUE(reg.KeyExists(reg.currentUser(), L"Software\\Kestrova"));
        EXPECT_TRUE(reg.KeyExists(reg.localMachine(), L"Software\\Kestrova"));
        EXPECT_EQ(reg.Dword(reg.currentUser(), L"Software\\Kestrova\\Other", L"kept"), DWORD{1});
    }

    test::ScratchRegistry reg;
};

TEST_F(InstallStepsTest, InstallWritesTheFolderWithItsTerminator) {
    RecordInstallFolder(Places(), L"\\Program Files\\Glimmora");
    EXPECT_EQ(reg.Text(reg.localMachine(), kAppKey, L"InstalledDirPath"),
              L"\\Program Files\\Glimmora");
    UniqueHkey key = device::OpenRegistryKey(reg.localMachine(), kAppKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(device::ValueDataBytes(key.get(), L"InstalledDirPath"), DWORD{(23 + 1) * 2});
    EXPECT_EQ(reg.Type(reg.localMachine(), kAppKey, L"InstalledDirPath"), DWORD{REG_SZ});
}

TEST_F(InstallStepsTest, RemovalGivesTheAssociationBackThenDeletesBothKeys) {
    Install();
    reg.SetJpegClass(L"jpegfile", kOurCommand, kOurIcon);
    reg.SetText(reg.currentUser(), kAppKey, kOldShellOpenCommand, L"pimg.exe \"%1\"");
    reg.SetText(reg.currentUser(), kAppKey, kOldDefaultIcon, L"pimg.exe,-101");
    RemoveApplication(Places(), 5);
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"pimg.exe \"%1\"");
    EXPECT_EQ(reg.Text(reg.classes(), kIconKey, nullptr), L"pimg.exe,-101");
    ExpectApplicationKeysGone();
}

TEST_F(InstallStepsTest, RemovalWritesTheDefaultsWhenTheSavedProgramIsGone) {
    Install();
    reg.SetJpegClass(L"jpegfile", kOurCommand, kOurIcon);
    reg.SetText(reg.currentUser(), kAppKey, kOldShellOpenCommand, L"\"\\Windows\\gone.exe\" %1");
    reg.SetText(reg.currentUser(), kAppKey, kOldDefaultIcon, L"gone.exe,0");
    RemoveApplication(Places(), 3);
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"iexplore.exe file:%1");
    EXPECT_EQ(reg.Text(reg.classes(), kIconKey, nullptr), L"iexplore.exe,-1004");
    ExpectApplicationKeysGone();
}

TEST_F(InstallStepsTest, RemovalWithoutASavedCommandLeavesTheClassesAlone) {
    Install();
    reg.SetJpegClass(L"jpegfile", L"other.exe %1", L"other.exe,0");
    // A saved icon without its command is forgotten, not restored.
    reg.SetText(reg.currentUser(), kAppKey, kOldDefaultIcon, L"pimg.exe,-101");
    reg.SetText(reg.currentUser(), kAppKey, kOldShellOpenCommand, L"");
    RemoveApplication(Places(), 5);
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"other.exe %1");
    EXPECT_EQ(reg.Text(reg.classes(), kIconKey, nullptr), L"other.exe,0");
    ExpectApplicationKeysGone();
}

TEST_F(InstallStepsTest, RemovalOfANeverInstalledApplicationChangesNothing) {
    reg.SetJpegClass(L"jpegfile", L"pimg.exe \"%1\"", L"pimg.exe,-101");
    RemoveApplication(Places(), 5);
    EXPECT_EQ(reg.Text(reg.classes(), kCommandKey, nullptr), L"pimg.exe \"%1\"");
    EXPECT_FALSE(reg.KeyExists(reg.currentUser(), L"Software\\Kestrova"));
}

}  // namespace
}  // namespace glimmora::setup
