#include "desktop/settings_store_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

namespace glimmora::desktop {
namespace {

// Every test works below its own scratch key, removed before and after.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::string("Software\\GlimmoraTest\\") + info->name();
        SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }

    SettingsStore Store() { return SettingsStore(HKEY_CURRENT_USER, "\\" + path_); }

    HKEY Key() {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        return key;
    }
    void PutDword(const char* name, DWORD value) {
        HKEY key = Key();
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    void PutText(const char* name, const std::string& value) {
        HKEY key = Key();
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    // The value's type, or REG_NONE when it is missing.
    DWORD TypeOf(const char* name) {
        HKEY key = Key();
        DWORD type = REG_NONE;
        if (RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
        RegCloseKey(key);
        return type;
    }
    DWORD GetDword(const char* name) {
        HKEY key = Key();
        DWORD value = 0xDEADBEEF, size = sizeof value;
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        return value;
    }
    std::string GetText(const char* name) {
        HKEY key = Key();
        char buffer[512] = {};
        DWORD size = sizeof buffer - 1;
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        return buffer;
    }
    bool KeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    std::string path_;
    const HWND window_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x000A0B0C));
};

TEST_F(SettingsStoreTest, EmptyRegistryGivesDefaultsAndMyPictures) {
    DesktopSettings s = Store().Load(window_);
    EXPECT_EQ(s.fileSortBy, 0);
    EXPECT_TRUE(s.fileSortAscending);
    EXPECT_EQ(s.pictureChangeInterval, 60);
    EXPECT_TRUE(s.autoStart);
    EXPECT_EQ(s.autoStartDelay, 180);
    EXPECT_FALSE(s.showCalendar);
    EXPECT_TRUE(s.doNotRemoveTempFiles);
    EXPECT_EQ(s.ppcTempFilePath, "");
    EXPECT_EQ(s.ppcTempMaxFileCount, 5);
    EXPECT_EQ(s.imageFolderPath, "");

    ApplyDefaultPictureFolder(s);
    char pictures[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, pictures, CSIDL_MYPICTURES, FALSE));
    EXPECT_EQ(s.imageFolderPath, std::string(pictures) + "\\");
    // The replacement is not stored by loading.
    EXPECT_EQ(TypeOf("ImageFolderPath"), static_cast<DWORD>(REG_NONE));

    EXPECT_EQ(TypeOf("ActiveWindowHandle"), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Store().ReadActiveWindowHandle(), std::optional<std::uint32_t>(0x000A0B0C));
}

TEST_F(SettingsStoreTest, OutOfRangeAndMistypedValuesAreReadSafelyAndSavedBackInRange) {
    PutDword("PictureChangeInterval", 2);
    PutText("AutoStartDelay", "30");
    PutDword("PPC_TempMaxFileCount", 1000);
    PutDword("FileSortBy", 7);
    PutDword("ShowCalendar", 1);
    SettingsStore store = Store();
    DesktopSettings s = store.Load(window_);
    EXPECT_EQ(s.pictureChangeInterval, 5);
    EXPECT_EQ(s.autoStartDelay, 180);
    EXPECT_EQ(s.ppcTempMaxFileCount, 100);
    EXPECT_EQ(s.fileSortBy, 0);
    EXPECT_TRUE(s.showCalendar);  // the others did not spoil it
    ASSERT_TRUE(store.Save(s));
    EXPECT_EQ(GetDword("PictureChangeInterval"), 5u);
    EXPECT_EQ(TypeOf("AutoStartDelay"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(GetDword("AutoStartDelay"), 180u);
    EXPECT_EQ(GetDword("FileSortBy"), 0u);
}

TEST_F(SettingsStoreTest, HandheldFolderKeepsItsBlanksUntilSaved) {
    PutText("PPC_TempFilePath", "  \\Storage Card\\Frame ");
    SettingsStore store = Store();
    const DesktopSettings s = store.Load(window_);
    EXPECT_EQ(s.ppcTempFilePath, "  \\Storage Card\\Frame ");
    ASSERT_TRUE(store.Save(s));
    EXPECT_EQ(GetText("PPC_TempFilePath"), "\\Storage Card\\Frame");
}

TEST_F(SettingsStoreTest, VanishedPictureFolderIsReplacedAndSavedAtTheNextSave) {
    PutText("ImageFolderPath", "C:\\no\\such\\folder\\");
    SettingsStore store = Store();
    DesktopSettings s = store.Load(window_);
    EXPECT_EQ(s.imageFolderPath, "C:\\no\\such\\folder\\");
    ApplyDefaultPictureFolder(s);
    EXPECT_NE(s.imageFolderPath, "C:\\no\\such\\folder\\");
    EXPECT_TRUE(IsExistingDirectory(s.imageFolderPath));
    EXPECT_EQ(GetText("ImageFolderPath"), "C:\\no\\such\\folder\\");
    ASSERT_TRUE(store.Save(s));
    EXPECT_EQ(GetText("ImageFolderPath"), s.imageFolderPath);
    // An existing folder is kept as it is.
    DesktopSettings again = store.Load(window_);
    ApplyDefaultPictureFolder(again);
    EXPECT_EQ(again.imageFolderPath, s.imageFolderPath);
}

TEST_F(SettingsStoreTest, WindowHandleIsRemovedWithoutCreatingTheKey) {
    SettingsStore store = Store();
    store.RemoveActiveWindowHandle();
    EXPECT_FALSE(KeyExists());
    store.Load(window_);
    ASSERT_EQ(TypeOf("ActiveWindowHandle"), static_cast<DWORD>(REG_BINARY));
    store.RemoveActiveWindowHandle();
    EXPECT_EQ(TypeOf("ActiveWindowHandle"), static_cast<DWORD>(REG_NONE));
    EXPECT_FALSE(store.ReadActiveWindowHandle());
}

TEST_F(SettingsStoreTest, LastPictureIsWrittenReadAndCleared) {
    SettingsStore store = Store();
    EXPECT_EQ(store.ReadLastImageFilePath(), "");
    EXPECT_FALSE(KeyExists());  // reading does not create the key
    ASSERT_TRUE(store.WriteLastImageFilePath("C:\\Pictures\\sub\\a.jpg"));
    EXPECT_EQ(store.ReadLastImageFilePath(), "C:\\Pictures\\sub\\a.jpg");
    store.ClearLastImageFilePath();
    EXPECT_EQ(TypeOf("LastImageFilePath"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(store.ReadLastImageFilePath(), "");
}

TEST_F(SettingsStoreTest, UnopenableKeyGivesTheWindowsInitialValuesAndSaveFails) {
    SettingsStore store(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x1234)), "\\" + path_);
    const DesktopSettings s = store.Load(window_);
    EXPECT_EQ(s.autoStartDelay, 0);
    EXPECT_EQ(s.pictureChangeInterval, 60);
    EXPECT_FALSE(store.Save(s));
    EXPECT_FALSE(KeyExists());
}

}  // namespace
}  // namespace glimmora::desktop
