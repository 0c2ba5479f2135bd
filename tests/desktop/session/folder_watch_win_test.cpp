#include "desktop/session/folder_watch_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/temp_folder.h"

namespace glimmora::desktop {
namespace {

constexpr UINT kNotice = 6103;  // the main window's WM_SERVER_NOTIFY
constexpr WPARAM kCode = 110;   // NOTIFY_FOLDER_CHANGED

class FolderWatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "watch target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        CreateDirectoryA(folder_.File("sub").c_str(), nullptr);
        Touch("existing.jpg", "abc");
        Touch("sub\\inner.jpg", "abc");
    }
    void TearDown() override {
        watch_.reset();
        if (window_) DestroyWindow(window_);
    }

    void Touch(const std::string& name, const std::string& content) {
        HANDLE file = CreateFileA(folder_.File(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFilePointer(file, 0, nullptr, FILE_END);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }

    void StartWatch(const std::string& folder) {
        watch_ = std::make_unique<IWatchDirChangeThread>(true, window_, folder);
        watch_->Resume();
        Sleep(200);  // let the thread reach its wait
    }

    // Notices that arrive within `ms`; stops early at the first one when `untilFirst`.
    int Notices(DWORD ms, bool untilFirst) {
        int count = 0;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, window_, kNotice, kNotice, PM_REMOVE)) {
                EXPECT_EQ(msg.wParam, kCode);
                EXPECT_EQ(msg.lParam, 0);
                ++count;
            }
            if (untilFirst && count > 0) break;
            Sleep(10);
        }
        return count;
    }

    test::TempFolder folder_;
    HWND window_ = nullptr;
    std::unique_ptr<IWatchDirChangeThread> watch_;
};

TEST_F(FolderWatchTest, CreatedDeletedAndRenamedFilesArePosted) {
    StartWatch(folder_.path());
    Touch("new.jpg", "x");
    EXPECT_GE(Notices(3000, true), 1) << "created";
    Notices(300, false);  // let any echo of the same change pass
    ASSERT_TRUE(DeleteFileA(folder_.File("new.jpg").c_str()));
    EXPECT_GE(Notices(3000, true), 1) << "deleted";
    Notices(300, false);
    ASSERT_TRUE(
        MoveFileA(folder_.File("existing.jpg").c_str(), folder_.File("renamed.jpg").c_str()));
    EXPECT_GE(Notices(3000, true), 1) << "renamed";
}

TEST_F(FolderWatchTest, ContentChangesAndSubfolderChangesAreNotPosted) {
    StartWatch(folder_.path().substr(0, folder_.path().size() - 1));  // without the backslash
    Touch("existing.jpg", "more content");
    EXPECT_EQ(Notices(800, false), 0) << "content change";
    Touch("sub\\added.jpg", "x");
    ASSERT_TRUE(DeleteFileA(folder_.File("sub\\inner.jpg").c_str()));
    EXPECT_EQ(Notices(800, false), 0) << "change inside a subfolder";
    Touch("late.jpg", "x");  // the watch is still alive after all that
    EXPECT_GE(Notices(3000, true), 1);
}

TEST(WatchedFolderPath, DropsTheTrailingDelimiterButNotADriveRootsBackslash) {
    EXPECT_EQ(WatchedFolderPath("C:\\Pictures\\"), "C:\\Pictures");
    EXPECT_EQ(WatchedFolderPath("C:\\Pictures"), "C:\\Pictures");
    EXPECT_EQ(WatchedFolderPath("\\\\server\\share\\"), "\\\\server\\share");
    // "E:" alone would watch drive E's current folder, not the picture folder.
    EXPECT_EQ(WatchedFolderPath("E:\\"), "E:\\");
}

DWORD WINAPI DeleteWatch(void* watch) {
    delete static_cast<IWatchDirChangeThread*>(watch);
    return 0;
}

// Destroys the watch on another thread and reports whether that finished in time; a watch
// that cannot end would otherwise hang the whole test program. A stuck destruction is left
// behind (the process ends it at exit) so that the failure is reported.
bool EndsWithin(std::unique_ptr<IWatchDirChangeThread> watch, DWORD ms) {
    auto* owned = watch.release();
    HANDLE thread = CreateThread(nullptr, 0, &DeleteWatch, owned, 0, nullptr);
    if (!thread) return false;
    const bool ended = WaitForSingleObject(thread, ms) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

TEST_F(FolderWatchTest, StopsPromptlyOnAMissingFolder) {
    auto watch = std::make_unique<IWatchDirChangeThread>(true, window_, folder_.File("missing\\"),
                                                         kNotice, kCode);
    watch->Resume();
    Sleep(100);
    watch->Stop();
    EXPECT_TRUE(EndsWithin(std::move(watch), 5000));
    EXPECT_EQ(Notices(200, false), 0);
}

TEST_F(FolderWatchTest, StopsPromptlyWhileWaitingAndWhenNeverResumed) {
    auto waiting =
        std::make_unique<IWatchDirChangeThread>(false, window_, folder_.path(), kNotice, kCode);
    Sleep(100);
    EXPECT_TRUE(EndsWithin(std::move(waiting), 5000));
    auto suspended =
        std::make_unique<IWatchDirChangeThread>(true, window_, folder_.path(), kNotice, kCode);
    EXPECT_TRUE(EndsWithin(std::move(suspended), 5000));
}

}  // namespace
}  // namespace glimmora::desktop
