// The glimmora-picture show command, run as a program: exit statuses, messages and a BMP
// whose rows are exactly the loaded bitmap's rows.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/pictures/picture_loader.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::device {
namespace {

struct Outcome {
    int status;
    std::string stderrText;
};

Outcome RunShow(const std::string& arguments) {
    // ctest runs the cases of this file side by side: each keeps its own stderr file.
    const std::string errFile = std::string("show_command_test_") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                ".err";
    const std::string command =
        std::string(GLIMMORA_PICTURE_TOOL) + " show " + arguments + " 2>" + errFile;
    const int raw = std::system(command.c_str());
    std::ifstream err(errFile);
    Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                    std::string(std::istreambuf_iterator<char>(err), {})};
    std::remove(errFile.c_str());
    return outcome;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ShowCommandTest, WritesTheViewersBitmapRowForRow) {
    const std::string picture = "show_command_test.jpg";
    const std::string output = "show_command_test.bmp";
    test::WriteFileBytes(picture,
                         test::EncodeJpeg(test::CheckeredGradient(90, 50, 3, 3), test::kBgr));

    const Outcome outcome = RunShow(picture + " 30 40 1 0 " + output);
    ASSERT_EQ(outcome.status, 0) << outcome.stderrText;

    DeviceBitmap expected;
    const std::wstring wide(picture.begin(), picture.end());
    ASSERT_TRUE(LoadPicture(expected, wide.c_str(), 30, 40, kAutoLeft, false));
    const std::vector<std::uint8_t> bmp = ReadAll(output);
    ASSERT_EQ(bmp.size(), 54 + expected.info.bmiHeader.biSizeImage);
    const auto le32 = [&bmp](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bmp[at + 3]) << 24);
    };
    EXPECT_EQ(le32(18), expected.Width());
    EXPECT_EQ(le32(22), expected.Height());
    // Both are bottom-up with 4-byte rows: the pixel data is the bitmap's memory.
    for (int y = 0; y < expected.Height(); ++y)
        ASSERT_EQ(0, std::memcmp(bmp.data() + 54 + y * expected.Stride(),
                                 expected.bits + y * expected.Stride(), 3 * expected.Width()))
            << "memory row " << y;
    std::remove(picture.c_str());
    std::remove(output.c_str());
}

TEST(ShowCommandTest, FailuresNameTheFileAndTheReason) {
    const Outcome missing = RunShow("no_such_file.jpg 240 320 0 0 out.bmp");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.stderrText.find("no_such_file.jpg: cannot be opened"), std::string::npos)
        << missing.stderrText;

    const std::string text = "show_command_test_note.jpg";
    test::WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o', '\n'});
    const Outcome notJpeg = RunShow(text + " 240 320 0 0 out.bmp");
    EXPECT_EQ(notJpeg.status, 1);
    EXPECT_NE(notJpeg.stderrText.find("Not a JPEG file"), std::string::npos) << notJpeg.stderrText;
    std::remove(text.c_str());

    const std::string thin = "show_command_test_thin.jpg";
    test::WriteFileBytes(thin,
                         test::EncodeJpeg(test::CheckeredGradient(1000, 1, 3, 1), test::kBgr));
    const Outcome empty = RunShow(thin + " 320 240 0 0 out.bmp");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.stderrText.find("320 x 0 bitmap"), std::string::npos) << empty.stderrText;
    std::remove(thin.c_str());
}

TEST(ShowCommandTest, BadArgumentsGiveUsage) {
    for (const char* arguments :
         {"", "a.jpg 240 320 0 0", "a.jpg 240 320 5 0 out.bmp", "a.jpg 240 x 0 0 out.bmp",
          "a.jpg 240 320 0 2 out.bmp", "a.jpg 0 320 0 0 out.bmp"}) {
        const Outcome outcome = RunShow(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_NE(outcome.stderrText.find("usage:"), std::string::npos) << arguments;
    }
}

}  // namespace
}  // namespace glimmora::device
