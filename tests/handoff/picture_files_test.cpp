#include "handoff/picture_files.h"

#include <gtest/gtest.h>

#include <climits>

#include "handoff/command_line.h"

namespace glimmora::handoff {
namespace {

TEST(DevicePictureName, PadsTheCounterToThreeDigits) {
    EXPECT_EQ(DevicePictureName(L"\\My Documents", 1), L"\\My Documents\\Glimmora_001.jpg");
    EXPECT_EQ(DevicePictureName(L"\\My Documents", 5), L"\\My Documents\\Glimmora_005.jpg");
    EXPECT_EQ(DevicePictureName(L"\\Temp", 100), L"\\Temp\\Glimmora_100.jpg");
    EXPECT_EQ(DevicePictureName(L"", 1000), L"\\Glimmora_1000.jpg");
    EXPECT_EQ(DevicePictureName(L"\\Temp\\", 1), L"\\Temp\\Glimmora_001.jpg");
    EXPECT_EQ(DevicePictureName(L"\\", 2), L"\\Glimmora_002.jpg");
}

TEST(ViewerLaunch, ProgramPathAndArgumentsAsTheViewerExpectsThem) {
    EXPECT_EQ(ViewerProgramPath(L"\\Program Files\\Glimmora"),
              L"\\Program Files\\Glimmora\\Glimmora.exe");
    EXPECT_EQ(ViewerLaunchArguments(L"\\My Documents\\Glimmora_001.jpg", 60, false),
              L"\\My Documents\\Glimmora_001.jpg /65 /del");
    EXPECT_EQ(ViewerLaunchArguments(L"\\Temp\\Glimmora_001.jpg", 5, false),
              L"\\Temp\\Glimmora_001.jpg /10 /del");
    EXPECT_EQ(ViewerLaunchArguments(L"\\My Documents\\Glimmora\\Glimmora_005.jpg", 86400, true),
              L"\\My Documents\\Glimmora\\Glimmora_005.jpg /86405");
    EXPECT_EQ(ViewerLaunchArguments(L"\\a.jpg", INT_MAX, true), L"\\a.jpg /2147483647");
}

TEST(ViewerLaunch, WhatTheDesktopWritesTheViewerReadsBack) {
    for (int interval : {5, 60, 86400}) {
        for (bool keep : {false, true}) {
            const std::wstring path = DevicePictureName(L"\\My Documents", keep ? 3 : 1);
            const ViewerCommandLine parsed =
                ParseViewerCommandLine(ViewerLaunchArguments(path, interval, keep));
            EXPECT_EQ(parsed.cmdFile, path);
            EXPECT_EQ(parsed.cmdIntervalSeconds, interval + 5);
            EXPECT_EQ(parsed.cmdDelete, !keep);
        }
    }
}

TEST(PictureCounter, KeptPicturesRotateThroughTheMaximum) {
    int counter = 1;
    std::wstring seen;
    for (int picture = 0; picture < 7; ++picture) {
        counter = PictureCounterForPass(counter, 5);
        seen += DevicePictureName(L"", counter).substr(10, 3) + L" ";
        counter = PictureCounterAfterPicture(counter, true);
    }
    EXPECT_EQ(seen, L"001 002 003 004 005 001 002 ");
}

TEST(PictureCounter, UnkeptPicturesAndNonPositiveMaximumsUseNumberOne) {
    EXPECT_EQ(PictureCounterAfterPicture(1, false), 1);
    EXPECT_EQ(PictureCounterForPass(2, 0), 1);
    EXPECT_EQ(PictureCounterForPass(1, 0), 1);
    EXPECT_EQ(PictureCounterForPass(1, -4), 1);
    EXPECT_EQ(PictureCounterForPass(5, 5), 5);
    EXPECT_EQ(PictureCounterAfterPicture(INT_MAX, true), 1);
}

}  // namespace
}  // namespace glimmora::handoff
