// The fixture of the session thread tests: a picture folder, a handheld folder for the fake
// remote API, a scratch settings key and the recording window, and a run of one session.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/desktop/session/session_harness_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::test {

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // A JPEG of the given width (which tells the pictures apart on the handheld) at a path
    // relative to the picture folder; folders on the way are made.
    void Picture(const std::string& relative, int width, int height = 16);
    void Bytes(const std::string& relative, const std::string& content);

    // Runs one session to its end (at most `limitMs`), then reads the fake's log.
    void Run(DWORD limitMs = 60000);
    // Starts a session and leaves it running, for tests that stop it.
    std::unique_ptr<SessionRun> Start();
    void Finish(SessionRun& run);

    std::vector<FakeCall> Calls(const std::wstring& name) const { return CallsNamed(calls_, name); }
    std::wstring HandheldFile(const std::wstring& devicePath) const {
        return handheldRoot_ + devicePath;
    }
    bool HandheldFileExists(const std::wstring& devicePath) const;

    FakeRapi fake_;
    TempFolder pictures_;
    TempFolder handheld_;
    std::wstring handheldRoot_;
    ScratchSettingsKey key_;
    NoticeWindow window_;
    fake_rapi::Script script_{};
    SessionParams params_;
    desktop::PictureList list_;
    std::vector<FakeCall> calls_;
    // Width of each picture that reached the handheld, taken at its NOTIFY_UPLOAD_END
    // (-1 when the file was not there, -2 when it was not a whole picture).
    std::vector<int> sentWidths_;
};

}  // namespace glimmora::test
