#include "desktop/session/device_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glimmora::desktop::session {
namespace {

class ScriptedHandheld : public DeviceFolderSource {
  public:
    std::optional<std::wstring> personal = L"\\My Documents";
    std::optional<std::wstring> temp = L"\\Temp\\";
    std::vector<std::wstring> asked;  // "personal", "temp"
    std::vector<std::wstring> created;

    std::optional<std::wstring> PersonalFolder() override {
        asked.push_back(L"personal");
        return personal;
    }
    std::optional<std::wstring> TempFolder() override {
        asked.push_back(L"temp");
        return temp;
    }
    void CreateFolder(const std::wstring& path) override { created.push_back(path); }
};

TEST(ChooseDeviceFolder, PersonalFolderGetsGlimmoraOnlyWhenKeeping) {
    ScriptedHandheld kept;
    EXPECT_EQ(ChooseDeviceFolder(L"", true, kept), L"\\My Documents\\Glimmora");
    EXPECT_EQ(kept.created, (std::vector<std::wstring>{L"\\My Documents\\Glimmora"}));
    EXPECT_EQ(kept.asked, (std::vector<std::wstring>{L"personal"}));

    ScriptedHandheld notKept;
    EXPECT_EQ(ChooseDeviceFolder(L"", false, notKept), L"\\My Documents");
    EXPECT_TRUE(notKept.created.empty());
}

TEST(ChooseDeviceFolder, TempFolderOnlyWhenThePersonalFolderIsUnknownThenNothing) {
    ScriptedHandheld handheld;
    handheld.personal.reset();
    EXPECT_EQ(ChooseDeviceFolder(L"", true, handheld), L"\\Temp\\");
    EXPECT_EQ(handheld.asked, (std::vector<std::wstring>{L"personal", L"temp"}));
    EXPECT_TRUE(handheld.created.empty());
    handheld.temp.reset();
    EXPECT_EQ(ChooseDeviceFolder(L"", true, handheld), L"");
}

TEST(ChooseDeviceFolder, AConfiguredFolderLosesOneTrailingBackslashAndIsCreated) {
    const struct {
        std::wstring configured, folder;
    } cases[] = {
        {L"\\Storage Card\\Bilder\x00e4\\", L"\\Storage Card\\Bilder\x00e4"},
        {L"\\Fotos", L"\\Fotos"},
        {L"\\Fotos\\\\", L"\\Fotos\\"},
    };
    for (const auto& c : cases) {
        ScriptedHandheld handheld;
        EXPECT_EQ(ChooseDeviceFolder(c.configured, false, handheld), c.folder);
        EXPECT_EQ(handheld.created, (std::vector<std::wstring>{c.folder}));
        EXPECT_TRUE(handheld.asked.empty()) << "a configured folder needs no special folder";
    }
    // A lone backslash leaves nothing to write into; nothing is created.
    ScriptedHandheld handheld;
    EXPECT_EQ(ChooseDeviceFolder(L"\\", true, handheld), L"");
    EXPECT_TRUE(handheld.created.empty());
}

TEST(ScreenSideOrDefault, SidesTheHandheldCannotGiveFallBack) {
    EXPECT_EQ(ScreenSideOrDefault(480, kDefaultScreenWidth), 480);
    EXPECT_EQ(ScreenSideOrDefault(1, kDefaultScreenWidth), 1);
    EXPECT_EQ(ScreenSideOrDefault(0, kDefaultScreenWidth), 240);
    EXPECT_EQ(ScreenSideOrDefault(-7, kDefaultScreenHeight), 320);
}

}  // namespace
}  // namespace glimmora::desktop::session
