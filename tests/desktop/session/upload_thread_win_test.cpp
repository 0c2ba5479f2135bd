// The real session thread against the scripted remote API, reporting to a hidden window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/session/upload_thread_win.h"
#include "handoff/messages.h"
#include "tests/desktop/session/session_fixture_win.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::test {
namespace {

using handoff::kNotifyLaunchFailed;
using handoff::kNotifySessionEnded;
using handoff::kNotifyUploadBegin;
using handoff::kNotifyUploadEnd;

// A tree in name order: a, b, one\x, one\deep\y, two\z; widths 21 to 25 tell them apart.
class WalkSessionTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        Picture("a.jpg", 21);
        Picture("b.jpg", 22);
        Picture("one\\x.jpg", 23);
        Picture("one\\deep\\y.jpg", 24);
        Picture("two\\z.jpg", 25);
    }
};

TEST_F(WalkSessionTest, WalksTheTreeInNameOrderAndEndsQuietlyOnTheHandheldsStop) {
    script_.stopAtConnection = 7;  // six pictures, then the viewer's user stops
    Run();
    EXPECT_EQ(sentWidths_, (std::vector<int>{21, 22, 23, 24, 25, 21}));
    // Six transfers, each begun and ended by a sent notice, then the end: nothing else.
    std::vector<WPARAM> expected;
    for (int i = 0; i < 6; ++i) {
        expected.push_back(kNotifyUploadBegin);
        expected.push_back(kNotifyUploadEnd);
    }
    expected.push_back(kNotifySessionEnded);
    EXPECT_EQ(window_.Codes(), expected);
    for (const Notice& n : window_.notices) EXPECT_TRUE(n.sent);
    // The resume point is the last picture sent, a, not b that was about to go when the stop
    // came: the next session resumes after it, with b.
    EXPECT_EQ(key_.ReadLastImage(), pictures_.File("a.jpg"));
    EXPECT_EQ(Calls(L"CeCreateProcess").size(), 6u);
    EXPECT_EQ(Calls(L"CeRapiInitEx").size(), 7u);
    EXPECT_GE(Calls(L"CeRapiUninit").size(), 7u);
}

TEST_F(WalkSessionTest, ResumesInsideASubfolderAndAfterAFoldersLastEntry) {
    const struct {
        std::string last;
        std::vector<int> widths;
    } cases[] = {
        {"one\\x.jpg", {24, 25, 21}},  // inside one: deep\y next, then two, then the root again
        {"two\\z.jpg", {21, 22, 23}},  // z was two's last entry: up, wrap, the root's first
        {"ONE\\DEEP\\Y.JPG", {25, 21, 22}},
    };
    for (const auto& c : cases) {
        sentWidths_.clear();
        window_.notices.clear();
        key_.WriteLastImage(pictures_.File(c.last));
        script_.stopAtConnection = 4;
        Run();
        EXPECT_EQ(sentWidths_, c.widths) << c.last;
    }
}

TEST_F(WalkSessionTest, AVanishedOrOutsidePictureStartsAtTheRoot) {
    TempFolder outside;
    WriteFileBytes(outside.File("b.jpg"), {1, 2, 3});
    for (const std::string& last : {pictures_.File("one\\gone.jpg"), outside.File("b.jpg")}) {
        sentWidths_.clear();
        key_.WriteLastImage(last);
        script_.stopAtConnection = 2;
        Run();
        EXPECT_EQ(sentWidths_, (std::vector<int>{21})) << last;
    }
}

TEST_F(WalkSessionTest, RandomOrderStartsAtTheFirstEntryWithoutLookingForTheLastPicture) {
    key_.WriteLastImage(pictures_.File("one\\x.jpg"));
    params_.sortKey = 0;
    script_.stopAtConnection = 2;
    Run();
    // In name order the session would go on with deep\y; in random order x comes again.
    EXPECT_EQ(sentWidths_, (std::vector<int>{23}));
}

class CounterTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        Picture("a.jpg", 21);
        Picture("b.jpg", 22);
        script_.stopAtConnection = 5;  // four pictures
    }
    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> files;
        for (const FakeCall& c : Calls(L"CeCreateFile")) files.push_back(c.args.at(0));
        return files;
    }
    std::vector<std::wstring> CommandLines() const {
        std::vector<std::wstring> lines;
        for (const FakeCall& c : Calls(L"CeCreateProcess")) lines.push_back(c.args.at(1));
        return lines;
    }
};

TEST_F(CounterTest, KeptPicturesRunOneTwoThreeOneInThePersonalFoldersGlimmora) {
    params_.keep = true;
    params_.maxKept = 3;
    Run();
    const std::wstring dir = L"\\My Documents\\Glimmora\\";
    EXPECT_EQ(Files(),
              (std::vector<std::wstring>{dir + L"Glimmora_001.jpg", dir + L"Glimmora_002.jpg",
                                         dir + L"Glimmora_003.jpg", dir + L"Glimmora_001.jpg"}));
    EXPECT_EQ(CommandLines().at(1), dir + L"Glimmora_002.jpg /5");  // interval 0 + 5, no /del
    ASSERT_EQ(Calls(L"CeCreateDirectory").size(), 1u);              // chosen once per session
    EXPECT_EQ(Calls(L"CeCreateDirectory")[0].args.at(0), L"\\My Documents\\Glimmora");
    EXPECT_TRUE(HandheldFileExists(dir + L"Glimmora_003.jpg"));
}

TEST_F(CounterTest, WithoutKeepingOrWithMaximumZeroTheCounterStaysAtOne) {
    const struct {
        bool keep;
        int max;
        std::wstring file;
        const wchar_t* args;
    } cases[] = {
        {false, 3, L"\\My Documents\\Glimmora_001.jpg", L" /5 /del"},
        {true, 0, L"\\My Documents\\Glimmora\\Glimmora_001.jpg", L" /5"},
        {true, -2, L"\\My Documents\\Glimmora\\Glimmora_001.jpg", L" /5"},
    };
    for (const auto& c : cases) {
        params_.keep = c.keep;
        params_.maxKept = c.max;
        Run();
        EXPECT_EQ(Files(), std::vector<std::wstring>(4, c.file)) << c.keep << " " << c.max;
        for (const std::wstring& line : CommandLines()) EXPECT_EQ(line, c.file + c.args);
        // The personal folder itself is never created; only the kept pictures' subfolder is.
        EXPECT_EQ(Calls(L"CeCreateDirectory").size(), c.keep ? 1u : 0u);
    }
}

TEST_F(SessionTest, IntervalSixtyLaunchesWithSixtyFiveAndDelAndStopInTheIntervalIsPrompt) {
    Picture("a.jpg", 21);
    params_.interval = 60;
    std::unique_ptr<SessionRun> run = Start();
    // Wait for the first transfer, then a little into the 60-second wait.
    for (int i = 0; i < 200 && window_.Count(kNotifyUploadEnd) == 0; ++i) run->Wait(50);
    ASSERT_EQ(window_.Count(kNotifyUploadEnd), 1);
    EXPECT_FALSE(run->Wait(300));
    EXPECT_LT(run->StopAndTime(5000), 1000u);
    Finish(*run);
    const std::vector<FakeCall> launches = Calls(L"CeCreateProcess");
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].args.at(0), L"\\Program Files\\Glimmora\\Glimmora.exe");
    EXPECT_EQ(launches[0].args.at(1), L"\\My Documents\\Glimmora_001.jpg /65 /del");
    EXPECT_EQ(launches[0].args.at(2), L"0");     // no inherited handles
    EXPECT_EQ(launches[0].args.at(3), L"0");     // no creation flags
    EXPECT_EQ(launches[0].args.at(4), L"bare");  // no environment, folder or start-up data
    EXPECT_EQ(window_.Codes(),
              (std::vector<WPARAM>{kNotifyUploadBegin, kNotifyUploadEnd, kNotifySessionEnded}));
    EXPECT_EQ(key_.ReadLastImage(), pictures_.File("a.jpg"));
}

TEST_F(SessionTest, AConfiguredFolderWithTrailingBackslashAndAccentsArrivesAsUtf16) {
    if (GetACP() != 1252) GTEST_SKIP() << "the case is written for the Western code page";
    Picture("a.jpg", 21);
    CreateDirectoryW((handheldRoot_ + L"\\Speicherkarte").c_str(), nullptr);
    params_.deviceFolder = "\\Speicherkarte\\B\xE4r \xD6l\\";  // "Bär Öl" in code page 1252
    params_.keep = true;
    script_.stopAtConnection = 2;
    Run();
    const std::wstring folder = L"\\Speicherkarte\\B\x00e4r \x00d6l";
    ASSERT_EQ(Calls(L"CeCreateDirectory").size(), 1u);
    EXPECT_EQ(Calls(L"CeCreateDirectory")[0].args.at(0), folder);
    ASSERT_EQ(Calls(L"CeCreateFile").size(), 1u);
    EXPECT_EQ(Calls(L"CeCreateFile")[0].args.at(0), folder + L"\\Glimmora_001.jpg");
    EXPECT_TRUE(HandheldFileExists(folder + L"\\Glimmora_001.jpg"));
    EXPECT_TRUE(Calls(L"CeGetSpecialFolderPath").empty());
}

TEST_F(SessionTest, ThePersonalFolderUnknownGivesTheTempFolder) {
    Picture("a.jpg", 21);
    script_.personalFolder[0] = 0;
    script_.stopAtConnection = 2;
    Run();
    ASSERT_EQ(Calls(L"CeCreateFile").size(), 1u);
    EXPECT_EQ(Calls(L"CeCreateFile")[0].args.at(0), L"\\Temp\\Glimmora_001.jpg");
    EXPECT_EQ(sentWidths_, (std::vector<int>{21}));
}

TEST_F(SessionTest, AFailedConnectionTriesTheSamePictureAgainAfterTheInterval) {
    Picture("a.jpg", 21);
    Picture("b.jpg", 22);
    params_.interval = 1;
    script_.failingConnections = 1;
    script_.stopAtConnection = 3;
    Run();
    EXPECT_EQ(sentWidths_, (std::vector<int>{21}));
    const std::vector<FakeCall> connects = Calls(L"CeRapiInitEx");
    ASSERT_EQ(connects.size(), 3u);
    EXPECT_EQ(connects[0].args.at(0), std::to_wstring(sizeof(rapi::RapiInit)));
    EXPECT_GE(connects[1].tick - connects[0].tick, 950u);
    // The failed attempt is closed before the wait.
    ASSERT_GE(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].name, L"CeRapiUninit");
}

TEST_F(SessionTest, AConnectionThatNeverAnswersIsGivenUpAfterFiveSeconds) {
    Picture("a.jpg", 21);
    script_.connect = fake_rapi::kConnectNeverAnswers;
    params_.interval = 0;
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(7500));
    run->StopAndTime(5000);
    Finish(*run);
    const std::vector<FakeCall> connects = Calls(L"CeRapiInitEx");
    ASSERT_GE(connects.size(), 2u);
    EXPECT_GE(connects[1].tick - connects[0].tick, 4900u);
    EXPECT_LT(connects[1].tick - connects[0].tick, 6500u);
    EXPECT_TRUE(Calls(L"CeCreateFile").empty());
}

TEST_F(SessionTest, AnUndecodablePictureIsDroppedAndTheNextPassFollowsAtOnce) {
    Bytes("a.jpg", "this is not a picture");
    Picture("b.jpg", 22);
    params_.interval = 2;
    script_.stopAtConnection = 3;
    Run();
    EXPECT_EQ(sentWidths_, (std::vector<int>{22}));
    const std::vector<FakeCall> connects = Calls(L"CeRapiInitEx");
    ASSERT_EQ(connects.size(), 3u);
    EXPECT_LT(connects[1].tick - connects[0].tick, 1000u)
        << "no interval after the dropped picture";
    EXPECT_GE(connects[2].tick - connects[1].tick, 1900u) << "the interval after a sent one";
    EXPECT_EQ(window_.Count(kNotifyUploadBegin), 1);
}

TEST_F(SessionTest, AFailedOrShortWriteDeletesTheFileAndStillSendsBeginAndEnd) {
    Picture("a.jpg", 21);
    for (int write :
         {fake_rapi::kWriteCallFails, fake_rapi::kWriteReportsZero, fake_rapi::kWriteShort}) {
        window_.notices.clear();
        script_.write = write;
        script_.stopAtConnection = 2;
        Run();
        EXPECT_EQ(window_.Codes(),
                  (std::vector<WPARAM>{kNotifyUploadBegin, kNotifyUploadEnd, kNotifySessionEnded}))
            << write;
        ASSERT_EQ(Calls(L"CeDeleteFile").size(), 1u) << write;
        EXPECT_EQ(Calls(L"CeDeleteFile")[0].args.at(0), L"\\My Documents\\Glimmora_001.jpg");
        EXPECT_FALSE(HandheldFileExists(L"\\My Documents\\Glimmora_001.jpg")) << write;
        EXPECT_TRUE(Calls(L"CeCreateProcess").empty()) << write;
        EXPECT_EQ(window_.Count(kNotifyLaunchFailed), 0);
    }
}

TEST_F(SessionTest, AWriteBrokenOffGoesAgainIntoTheSameFileAfterTheInterval) {
    Picture("a.jpg", 21);
    Picture("b.jpg", 22);
    params_.interval = 1;
    for (int write : {fake_rapi::kWriteCallFails, fake_rapi::kWriteShort}) {
        script_.write = write;
        script_.writeFailures = 1;  // the card has room again at the next connection
        script_.stopAtConnection = 4;
        sentWidths_.clear();
        Run();
        EXPECT_EQ(sentWidths_, (std::vector<int>{-1, 21, 22})) << write;
        const std::vector<FakeCall> creates = Calls(L"CeCreateFile");
        ASSERT_EQ(creates.size(), 3u) << write;
        EXPECT_EQ(creates[0].args.at(0), L"\\My Documents\\Glimmora_001.jpg");
        EXPECT_EQ(creates[1].args.at(0), L"\\My Documents\\Glimmora_001.jpg")
            << "the same picture, the same file";
        const std::vector<FakeCall> connects = Calls(L"CeRapiInitEx");
        EXPECT_GE(connects[1].tick - connects[0].tick, 900u)
            << "the interval after the broken write";
    }
}

TEST_F(SessionTest, AFailedCreateSkipsThePictureAndTheSessionGoesOn) {
    Picture("a.jpg", 21);
    Picture("b.jpg", 22);
    script_.failCreateFile = TRUE;
    script_.stopAtConnection = 3;
    Run();
    EXPECT_EQ(Calls(L"CeCreateFile").size(), 2u);  // a, then b: the position advanced
    EXPECT_TRUE(Calls(L"CeWriteFile").empty());
    EXPECT_TRUE(Calls(L"CeCreateProcess").empty());
    EXPECT_EQ(window_.Count(kNotifyUploadEnd), 2);
}

TEST_F(SessionTest, AMissingViewerPostsTheLaunchErrorOnceAndEnds) {
    Picture("a.jpg", 21);
    const struct {
        BOOL machineKey, installedDir, failLaunch;
    } cases[] = {{TRUE, FALSE, FALSE}, {FALSE, FALSE, FALSE}, {TRUE, TRUE, TRUE}};
    for (const auto& c : cases) {
        window_.notices.clear();
        script_.hasMachineKey = c.machineKey;
        script_.hasInstalledDir = c.installedDir;
        script_.failCreateProcess = c.failLaunch;
        Run();
        EXPECT_EQ(window_.Count(kNotifyLaunchFailed), 1);
        for (const Notice& n : window_.notices) {
            if (n.code == kNotifyLaunchFailed) {
                EXPECT_FALSE(n.sent) << "posted, not sent";
            }
        }
        EXPECT_EQ(Calls(L"CeRapiInitEx").size(), 1u);
        // Among the sent notices the session's end comes last.
        WPARAM lastSent = 0;
        for (const Notice& n : window_.notices) lastSent = n.sent ? n.code : lastSent;
        EXPECT_EQ(lastSent, kNotifySessionEnded);
        EXPECT_EQ(Calls(L"CeCreateFile").size(), c.failLaunch ? 1u : 0u);
    }
}

TEST_F(SessionTest, TheHandshakeClearsTheStopOnceAndReassertsTheCalendar) {
    Picture("a.jpg", 21);
    params_.showCalendar = true;
    script_.hasStopValue = TRUE;
    script_.stopValue = 1;  // left by the viewer from an earlier slideshow
    script_.stopAtConnection = 3;
    Run();
    EXPECT_EQ(sentWidths_, (std::vector<int>{21, 21}));
    std::vector<std::wstring> writes;
    for (const FakeCall& c : Calls(L"CeRegSetValueEx")) {
        writes.push_back(c.args.at(0) + L" " + c.args.at(1) + L"=" + c.args.at(5));
        EXPECT_EQ(c.args.at(3), L"4");  // REG_DWORD
        EXPECT_EQ(c.args.at(4), L"4");  // of 4 bytes
    }
    EXPECT_EQ(writes,
              (std::vector<std::wstring>{L"app-HKCU RAPI_StopSlideshow=0",
                                         L"app-HKCU ShowCalendar=1", L"app-HKCU ShowCalendar=1"}));
    // InstalledDirPath only at the first connection; the stop value at every later one.
    EXPECT_EQ(Calls(L"CeRegQueryValueEx").size(), 3u);
    for (const FakeCall& c : Calls(L"CeRegOpenKeyEx")) {
        EXPECT_EQ(c.args.at(1), L"Software\\Kestrova\\Glimmora");
        EXPECT_EQ(c.args.at(2) + c.args.at(3), L"00");  // reserved and access 0
    }
}

TEST_F(SessionTest, WithoutTheApplicationKeyPicturesAreStillSentAndNothingIsWrittenThere) {
    Picture("a.jpg", 21);
    script_.hasUserKey = FALSE;
    params_.showCalendar = true;
    std::unique_ptr<SessionRun> run = Start();
    for (int i = 0; i < 200 && window_.Count(kNotifyUploadEnd) < 2; ++i) run->Wait(50);
    run->StopAndTime(5000);
    Finish(*run);
    EXPECT_GE(window_.Count(kNotifyUploadEnd), 2);
    EXPECT_TRUE(Calls(L"CeRegSetValueEx").empty());
}

TEST_F(SessionTest, ScreenSizesTheHandheldCannotGiveFitFor240By320) {
    Picture("wide.jpg", 600, 400);
    const struct { int w, h, outW; } cases[] = {{0, 0, 480}, {-1, 5000, 600}, {320, 240, 320}};
    for (const auto& c : cases) {
        sentWidths_.clear();
        script_.screenWidth = c.w;
        script_.screenHeight = c.h;
        script_.stopAtConnection = 2;
        Run();
        EXPECT_EQ(sentWidths_, (std::vector<int>{c.outW})) << c.w << "x" << c.h;
        EXPECT_EQ(Calls(L"CeGetSystemMetrics").size(), 2u);
    }
}

TEST_F(SessionTest, AnEmptyRootWaitsTheIntervalAndLooksAgain) {
    params_.interval = 1;
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(1500));
    EXPECT_LT(run->StopAndTime(5000), 1000u);
    Finish(*run);
    EXPECT_TRUE(Calls(L"CeRapiInitEx").empty());
    EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
    EXPECT_EQ(key_.ReadLastImage(), "");
}

// A tree that yields no picture must not keep a core busy: one round of it per interval.
TEST_F(SessionTest, ARoundOfTheTreeWithoutAPictureWaitsTheInterval) {
    const struct {
        const char* name;
        std::vector<std::string> undecodable;  // in the subfolder "sub"
    } cases[] = {
        {"only an empty subfolder", {}},
        {"a subfolder of undecodable pictures", {"sub\\a.jpg", "sub\\b.jpg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        ASSERT_TRUE(CreateDirectoryA(root.File("sub").c_str(), nullptr));
        for (const std::string& file : c.undecodable)
            WriteFileBytes(root.File(file), {'n', 'o', 't'});
        params_.root = root.path();
        params_.interval = 1;
        window_.notices.clear();
        // The processor time of this process while the session runs: the test only waits.
        const auto busyMs = [] {
            FILETIME created{}, exited{}, kernel{}, user{};
            GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
            const auto ms = [](FILETIME t) {
                return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000;
            };
            return ms(kernel) + ms(user);
        };
        const ULONGLONG before = busyMs();
        std::unique_ptr<SessionRun> run = Start();
        EXPECT_FALSE(run->Wait(3500));
        const ULONGLONG busy = busyMs() - before;
        run->StopAndTime(5000);
        Finish(*run);
        // The first round follows at once, then one round a second: at most five in 3.5 s,
        // each connecting once per picture it tries.
        EXPECT_LE(Calls(L"CeRapiInitEx").size(), 5 * c.undecodable.size());
        if (!c.undecodable.empty()) {
            EXPECT_GE(Calls(L"CeRapiInitEx").size(), 2 * c.undecodable.size());
        }
        EXPECT_LT(busy, 700u) << "processor time while the session ran";
        EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
    }
}

TEST_F(SessionTest, AFolderChangeReportedByTheWatchIsPickedUpAtTheNextWrap) {
    Picture("a.jpg", 21);
    std::unique_ptr<SessionRun> run = Start();
    // The main window's part: a folder-changed notice sets the session's flag.
    auto watchNotices = [&](std::size_t from) {
        for (std::size_t i = from; i < window_.notices.size(); ++i) {
            if (window_.notices[i].code == handoff::kNotifyFolderChanged && !window_.ended()) {
                run->session()->SetFolderChanged();
            }
        }
    };
    for (int i = 0; i < 100 && window_.Count(kNotifyUploadEnd) < 2; ++i) run->Wait(20);
    // Written under another name first, so the picture appears whole in one rename.
    Picture("b.tmp", 22);
    ASSERT_TRUE(MoveFileA(pictures_.File("b.tmp").c_str(), pictures_.File("b.jpg").c_str()));
    for (int i = 0; i < 250 && std::count(sentWidths_.begin(), sentWidths_.end(), 22) == 0; ++i) {
        run->Wait(20);
        const std::size_t before = window_.notices.size();
        window_.DrainPosted();
        watchNotices(before);
    }
    // A transfer cut short by the stop leaves the previous picture on the handheld.
    const std::size_t beforeStop = sentWidths_.size();
    run->StopAndTime(5000);
    Finish(*run);
    sentWidths_.resize(beforeStop);
    EXPECT_GE(window_.Count(handoff::kNotifyFolderChanged), 1) << "the watch posted the change";
    ASSERT_GE(sentWidths_.size(), 3u);
    EXPECT_EQ(sentWidths_[0], 21);
    EXPECT_EQ(sentWidths_[1], 21);
    const auto firstB = std::find(sentWidths_.begin(), sentWidths_.end(), 22);
    ASSERT_NE(firstB, sentWidths_.end()) << "b after the re-listing";
    // From then on the root's listing holds both, in name order.
    std::string seen;
    for (int w : sentWidths_) seen += std::to_string(w) + " ";
    for (auto it = firstB; it + 1 < sentWidths_.end(); ++it) EXPECT_NE(*it, *(it + 1)) << seen;
}

TEST_F(SessionTest, NoDeviceFolderSendsNothingAndTriesAgainAfterTheInterval) {
    Picture("a.jpg", 21);
    script_.personalFolder[0] = 0;
    script_.tempFolder[0] = 0;
    params_.interval = 1;
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(1500));
    run->StopAndTime(5000);
    Finish(*run);
    EXPECT_EQ(Calls(L"CeRapiInitEx").size(), 2u) << "one attempt per interval, not a busy loop";
    EXPECT_EQ(Calls(L"CeGetTempPath").size(), 2u) << "the folder is looked for again each time";
    EXPECT_TRUE(Calls(L"CeCreateFile").empty());
    EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
    EXPECT_EQ(key_.ReadLastImage(), "");
}

// Stops are made while the session waits in each of its three waits.
TEST_F(SessionTest, StopDuringTheStartUpDelayEndsWithoutConnecting) {
    Picture("a.jpg", 21);
    params_.startupDelay = 30;
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(300));
    EXPECT_LT(run->StopAndTime(5000), 1000u);
    Finish(*run);
    EXPECT_TRUE(Calls(L"CeRapiInitEx").empty());
    EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
}

TEST_F(SessionTest, StopDuringTheConnectionWaitEndsAndKeepsTheResumePointBeforeTheUnsentPicture) {
    Picture("a.jpg", 21);
    Picture("b.jpg", 22);
    key_.WriteLastImage(pictures_.File("a.jpg"));  // the session resumes with b
    script_.connect = fake_rapi::kConnectNeverAnswers;
    params_.interval = 60;
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(500));
    EXPECT_LT(run->StopAndTime(5000), 1000u);
    Finish(*run);
    EXPECT_EQ(Calls(L"CeRapiInitEx").size(), 1u);
    EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
    // b never reached the handheld: the next session must begin with it, not after it.
    EXPECT_EQ(key_.ReadLastImage(), pictures_.File("a.jpg"));
}

TEST_F(SessionTest, AFailedConnectionBeforeAStopDoesNotMoveTheResumePastTheUnsentPicture) {
    Picture("a.jpg", 21);
    Picture("b.jpg", 22);
    params_.interval = 2;
    script_.failingConnections = 1;  // the attempt for a fails; the stop comes in the wait after it
    std::unique_ptr<SessionRun> run = Start();
    EXPECT_FALSE(run->Wait(700));
    run->StopAndTime(5000);
    Finish(*run);
    ASSERT_EQ(Calls(L"CeRapiInitEx").size(), 1u) << "stopped in the wait after the failed attempt";
    EXPECT_TRUE(sentWidths_.empty());
    EXPECT_EQ(key_.ReadLastImage(), "") << "nothing was sent, the resume point stays as it was";
}

TEST_F(SessionTest, AStopBeforeTheThreadHasRunStillEndsItsFirstWait) {
    Picture("a.jpg", 21);
    params_.startupDelay = 30;
    fake_.Reset(script_);
    auto* session = new desktop::IPPC_RAPI_UploadThread(window_.hwnd(), params_.root, list_, 1,
                                                        true, 30, 0, false);
    session->SetRemoteApiLibrary(FakeRapi::kName);
    session->SetSettingsStore(desktop::SettingsStore(HKEY_CURRENT_USER, key_.path()));
    EXPECT_EQ(session->Priority(), desktop::ThreadPriority::kLower);
    UniqueHandle thread = session->DuplicateThreadHandle();
    session->Resume();
    session->StopRequest();  // at once, before the body can have made its first wait
    const DWORD start = GetTickCount();
    EXPECT_EQ(desktop::WaitHandlingSentMessages(thread.get(), 5000),
              static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
}

// Closes the error box from another thread once it is up, and tells what it showed.
struct BoxSeen {
    std::string text;
    DWORD thread = 0;
    HWND owner = nullptr;
};

DWORD WINAPI CloseErrorBox(void* parameter) {
    auto* seen = static_cast<BoxSeen*>(parameter);
    for (int i = 0; i < 200; ++i) {
        HWND box = FindWindowA("#32770", desktop::kDesktopErrorCaption);
        if (box) {
            char text[1024] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            seen->text = text;
            seen->thread = GetWindowThreadProcessId(box, nullptr);
            seen->owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

TEST_F(SessionTest, ALibraryLackingAnEntryPointOrMissingShowsTheErrorBoxOnTheMainThread) {
    Picture("a.jpg", 21);
    for (const char* library : {FakeRapi::kLackingName, "no-such-rapi.dll"}) {
        window_.notices.clear();
        key_.WriteLastImage("C:\\kept.jpg");
        params_.library = library;
        BoxSeen seen;
        HANDLE closer = CreateThread(nullptr, 0, &CloseErrorBox, &seen, 0, nullptr);
        Run(20000);
        WaitForSingleObject(closer, 15000);
        CloseHandle(closer);
        // Wine's box keeps the text's line breaks but not always its trailing blanks.
        EXPECT_EQ(seen.text.substr(0, 80), std::string(desktop::kRemoteApiErrorText).substr(0, 80))
            << library;
        EXPECT_NE(seen.text.find("Desktop Image Server again."), std::string::npos) << library;
        EXPECT_EQ(seen.thread, GetCurrentThreadId()) << "shown on the main thread";
        EXPECT_EQ(seen.owner, window_.hwnd());
        EXPECT_EQ(window_.Codes(), (std::vector<WPARAM>{kNotifySessionEnded}));
        EXPECT_TRUE(Calls(L"CeRapiInitEx").empty());
        EXPECT_EQ(key_.ReadLastImage(), "C:\\kept.jpg") << "the resume point is left alone";
    }
}

}  // namespace
}  // namespace glimmora::test
