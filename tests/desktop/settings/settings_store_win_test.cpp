#include "desktop/settings/settings_store_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace glimmora::desktop {
namespace {

// Every test works below its own scratch key, removed before and after.
class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = std::string("Software\\GlimmoraTest\\") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }

    SettingsStore Store() { return SettingsStore(HKEY_CURRENT_USER, "\\" + path_); }

    void Put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    void PutDword(const char* name, DWORD value) { Put(name, REG_DWORD, &value, sizeof value); }
    void PutText(const char* name, const std::string& v) {
        Put(name, REG_SZ, v.c_str(), static_cast<DWORD>(v.size() + 1));
    }
    // The value's type (REG_NONE when missing or the key is missing) and its bytes.
    DWORD Get(const char* name, std::string* bytes = nullptr) {
        char buffer[512] = {};
        DWORD type = REG_NONE, size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, path_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         buffer, &size) != ERROR_SUCCESS) {
            return REG_NONE;
        }
        if (bytes) bytes->assign(buffer, type == REG_SZ && size ? size - 1 : size);
        return type;
    }
    DWORD GetDword(const char* name) {
        std::string bytes;
        EXPECT_EQ(Get(name, &bytes), static_cast<DWORD>(REG_DWORD)) << name;
        DWORD value = 0;
        std::memcpy(&value, bytes.data(), std::min<std::size_t>(bytes.size(), 4));
        return value;
    }
    std::string GetText(const char* name) {
        std::string bytes;
        EXPECT_EQ(Get(name, &bytes), static_cast<DWORD>(REG_SZ)) << name;
        return bytes;
    }
    bool KeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::string path_;
    const HWND window_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x000A0B0C));
};

TEST_F(SettingsStoreTest, EmptyRegistryGivesDefaultsMyPicturesAndRecordsTheWindow) {
    DesktopSettings s = Store().Load(window_);
    EXPECT_EQ(s.pictureChangeInterval, 60);
    EXPECT_EQ(s.autoStartDelay, 180);
    EXPECT_EQ(s.ppcTempMaxFileCount, 5);
    EXPECT_TRUE(s.doNotRemoveTempFiles);
    ApplyDefaultPictureFolder(s);
    char pictures[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, pictures, CSIDL_MYPICTURES, FALSE));
    EXPECT_EQ(s.imageFolderPath, std::string(pictures) + "\\");
    EXPECT_EQ(Get("ImageFolderPath"), static_cast<DWORD>(REG_NONE));  // stored only by a save
    std::string handle;
    EXPECT_EQ(Get("ActiveWindowHandle", &handle), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(handle, std::string("\x0C\x0B\x0A\x00", 4));
    EXPECT_EQ(Store().ReadActiveWindowHandle(), std::optional<HWND>(window_));
}

TEST_F(SettingsStoreTest, OutOfRangeAndMistypedValuesAreSavedBackInRangeAndTyped) {
    PutDword("PictureChangeInterval", 2);
    PutText("AutoStartDelay", "30");
    PutDword("FileSortBy", 7);
    PutDword("ShowCalendar", 1);
    PutText("PPC_TempFilePath", "  \\Storage Card\\Frame ");
    SettingsStore store = Store();
    const DesktopSettings s = store.Load(window_);
    EXPECT_EQ(s.pictureChangeInterval, 5);
    EXPECT_EQ(s.autoStartDelay, 180);
    EXPECT_TRUE(s.showCalendar);  // the bad values beside it did not spoil it
    EXPECT_EQ(s.ppcTempFilePath, "  \\Storage Card\\Frame ");  // shown with its blanks
    ASSERT_TRUE(store.Save(s));
    EXPECT_EQ(GetDword("PictureChangeInterval"), 5u);
    EXPECT_EQ(GetDword("AutoStartDelay"), 180u);
    EXPECT_EQ(GetDword("FileSortBy"), 0u);
    EXPECT_EQ(GetText("PPC_TempFilePath"), "\\Storage Card\\Frame");
}

TEST_F(SettingsStoreTest, VanishedPictureFolderIsReplacedAndSavedAtTheNextSave) {
    PutText("ImageFolderPath", "C:\\no\\such\\folder\\");
    SettingsStore store = Store();
    DesktopSettings s = store.Load(window_);
    ApplyDefaultPictureFolder(s);
    EXPECT_TRUE(IsExistingDirectory(s.imageFolderPath)) << s.imageFolderPath;
    EXPECT_EQ(GetText("ImageFolderPath"), "C:\\no\\such\\folder\\");
    ASSERT_TRUE(store.Save(s));
    EXPECT_EQ(GetText("ImageFolderPath"), s.imageFolderPath);
}

TEST_F(SettingsStoreTest, WindowHandleIsRemovedWithoutCreatingTheKey) {
    SettingsStore store = Store();
    store.RemoveActiveWindowHandle();
    EXPECT_FALSE(KeyExists());
    store.Load(window_);
    store.RemoveActiveWindowHandle();
    EXPECT_EQ(Get("ActiveWindowHandle"), static_cast<DWORD>(REG_NONE));
    EXPECT_FALSE(store.ReadActiveWindowHandle());
}

TEST_F(SettingsStoreTest, LastPictureIsWrittenReadAndCleared) {
    SettingsStore store = Store();
    EXPECT_EQ(store.ReadLastImageFilePath(), "");
    EXPECT_FALSE(KeyExists());  // reading does not create the key
    ASSERT_TRUE(store.WriteLastImageFilePath("C:\\Pictures\\sub\\a.jpg"));
    EXPECT_EQ(store.ReadLastImageFilePath(), "C:\\Pictures\\sub\\a.jpg");
    store.ClearLastImageFilePath();
    EXPECT_EQ(GetText("LastImageFilePath"), "");
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
