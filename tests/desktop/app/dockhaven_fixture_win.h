// Runs the real Dockhaven.exe (from beside the test program) in the test prefix and drives
// its window by messages, as automation or another program would.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/unique_win.h"
#include "tests/support/temp_folder.h"

namespace glimmora::test {

// The program's settings key under HKEY_CURRENT_USER, without the leading backslash.
inline constexpr char kDockhavenKey[] = "Software\\Kestrova\\Glimmora";

void WipeSettings();
void SetDword(const char* name, DWORD value);
void SetText(const char* name, const std::string& value);
std::optional<DWORD> GetDword(const char* name);
bool ValueExists(const char* name);

struct Launched {
    UniqueHandle process;
    DWORD id = 0;
};
// Starts Dockhaven.exe with `arguments`; `environment` lines (NAME=value) are added.
Launched LaunchDockhaven(const std::string& arguments,
                         const std::vector<std::string>& environment = {});
// Runs a copy to its end; its exit code, or nullopt when it did not end within `ms`.
std::optional<DWORD> RunDockhavenToEnd(const std::string& arguments, DWORD ms = 20000);

HWND WaitForMainWindow(DWORD ms = 20000);
bool WaitUntil(DWORD ms, const std::function<bool()>& condition);
bool ProcessEnded(HANDLE process, DWORD ms);
std::string WindowText(HWND window);
bool Checked(HWND control);
void Click(HWND control);
// The threads of a process, by identifier.
std::vector<DWORD> ThreadsOf(DWORD processId);
// A top-level dialog box of `processId` with `caption`, or nullptr.
HWND FindBox(DWORD processId, const char* caption);

// A test of the running program: settings wiped around it, the picture folder a scratch one,
// and whatever copy the test launched ended with it (Exit first, then by force).
class DockhavenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WipeSettings();
        SetText("ImageFolderPath", pictures_.path());
    }
    void TearDown() override {
        if (copy_.process && !ProcessEnded(copy_.process.get(), 0)) {
            if (form_) PostMessageA(form_, WM_CLOSE, 0, 0);
            if (!ProcessEnded(copy_.process.get(), 15000))
                TerminateProcess(copy_.process.get(), 99);
        }
        WipeSettings();
    }
    HWND Control(int id) const { return GetDlgItem(form_, id); }

    TempFolder pictures_;
    Launched copy_;
    HWND form_ = nullptr;
};

}  // namespace glimmora::test
