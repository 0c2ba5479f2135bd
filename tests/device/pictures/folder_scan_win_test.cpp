// ScanFolder over a real folder searched with FindFirstFileW.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "device/pictures/folder_scan.h"

namespace glimmora::device {
namespace {

class FolderScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = std::wstring(temp) + L"glimmora_scan_" +
                  std::to_wstring(::GetCurrentProcessId()) + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const std::wstring& name : files_) ::DeleteFileW((folder_ + name).c_str());
        for (const std::wstring& name : folders_) ::RemoveDirectoryW((folder_ + name).c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    void MakeFile(const std::wstring& name, const char* content) {
        HANDLE h = ::CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(h, content, static_cast<DWORD>(std::strlen(content)), &written, nullptr);
        ::CloseHandle(h);
        files_.push_back(name);
    }
    std::wstring folder_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
};

TEST_F(FolderScanTest, KeepsNonEmptyJpegFilesInPlayOrderAndLocatesTheCurrentOne) {
    MakeFile(L"b.JPG", "x");
    MakeFile(L"A.jpeg", "x");
    MakeFile(L"c.jpe", "x");
    MakeFile(L"d.gif", "x");
    MakeFile(L"e.jpg", "");
    ASSERT_TRUE(::CreateDirectoryW((folder_ + L"f.jpg").c_str(), nullptr));
    folders_.push_back(L"f.jpg");

    PictureList list;
    list.folderPath = folder_;
    list.currentPath = folder_ + L"B.jpg";
    ScanFolder(list);
    EXPECT_EQ(list.pictureNames, (std::vector<std::wstring>{L"A.jpeg", L"b.JPG", L"c.jpe"}));
    EXPECT_EQ(list.currentIndex, 1);
}

TEST_F(FolderScanTest, MissingFolderGivesAnEmptyList) {
    PictureList list;
    list.folderPath = folder_ + L"nowhere\\";
    list.pictureNames = {L"stale.jpg"};
    list.currentIndex = 0;
    ScanFolder(list);
    EXPECT_TRUE(list.pictureNames.empty());
    EXPECT_EQ(list.currentIndex, -1);
}

}  // namespace
}  // namespace glimmora::device
