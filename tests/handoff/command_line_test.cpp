#include "handoff/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmora::handoff {
namespace {

struct Case {
    const wchar_t* line;
    const wchar_t* file;
    int interval;
    bool del;
};

void ExpectParsed(const Case& c) {
    const ViewerCommandLine parsed = ParseViewerCommandLine(c.line);
    EXPECT_EQ(parsed.cmdFile, c.file) << "line: " << std::wstring(c.line).size() << " chars";
    EXPECT_EQ(parsed.cmdIntervalSeconds, c.interval);
    EXPECT_EQ(parsed.cmdDelete, c.del);
}

TEST(ViewerCommandLine, DesktopFormKeepsBlanksInsideTheFolderName) {
    ExpectParsed({L"\\My Documents\\Glimmora_001.jpg /65 /del", L"\\My Documents\\Glimmora_001.jpg",
                  65, true});
    ExpectParsed({L"\\My Documents\\Glimmora_001.jpg /DEL /65", L"\\My Documents\\Glimmora_001.jpg",
                  65, true});
    ExpectParsed({L"\\My Documents\\Glimmora\\Glimmora_005.jpg /86405",
                  L"\\My Documents\\Glimmora\\Glimmora_005.jpg", 86405, false});
}

TEST(ViewerCommandLine, ShellFormLosesQuotesAndKeepsBlanks) {
    ExpectParsed({L"\"\\My Documents\\Summer 2003\\beach day.jpg\"",
                  L"\\My Documents\\Summer 2003\\beach day.jpg", 0, false});
    ExpectParsed({L"  \"\\a b.jpg\"  /del ", L"\\a b.jpg", 0, true});
    ExpectParsed({L"\\plain.jpg", L"\\plain.jpg", 0, false});
}

TEST(ViewerCommandLine, NonNumericOrZeroIntervalGivesFileMode) {
    ExpectParsed({L"\\x.jpg /0", L"\\x.jpg", 0, false});
    ExpectParsed({L"\\x.jpg /abc", L"\\x.jpg", 0, false});
    ExpectParsed({L"\\x.jpg /12abc", L"\\x.jpg", 12, false});
    ExpectParsed({L"\\x.jpg / 7", L"\\x.jpg", 7, false});
    ExpectParsed({L"\\x.jpg /-3", L"\\x.jpg", -3, false});
}

TEST(ViewerCommandLine, NumberWithoutPathIsFolderMode) {
    ExpectParsed({L"/30", L"", 30, false});
    ExpectParsed({L"", L"", 0, false});
}

TEST(ViewerCommandLine, LeftmostNumberWinsAndDelMayStandAnywhere) {
    ExpectParsed({L"\\x.jpg /10 /20 /30", L"\\x.jpg", 10, false});
    ExpectParsed({L"\\x.jpg /10 /del /30", L"\\x.jpg", 10, true});
    ExpectParsed({L"\\x.jpg /del /DeL", L"\\x.jpg", 0, true});
}

TEST(ViewerCommandLine, TrailingBlanksAroundArgumentsAreIgnored) {
    ExpectParsed({L"\\x.jpg /65 \t  /del \r\n", L"\\x.jpg", 65, true});
    ExpectParsed({L"\\x.jpg   ", L"\\x.jpg", 0, false});
    // "/del" followed by more text is not "/del": it reads as a number, which is 0.
    ExpectParsed({L"\\x.jpg /delete", L"\\x.jpg", 0, false});
}

TEST(ViewerCommandLine, MalformedLinesGiveDefinedResults) {
    ExpectParsed({L"/", L"", 0, false});
    ExpectParsed({L"////", L"", 0, false});
    ExpectParsed({L"\"", L"", 0, false});
    ExpectParsed({L"\"\"\"", L"", 0, false});
    ExpectParsed({L"   ", L"", 0, false});
    ExpectParsed({L"a/b/c.jpg", L"a", 0, false});  // a path must not contain "/"
}

TEST(ViewerCommandLine, VeryLongLinesAreHandledWholly) {
    const std::wstring slashes(10000, L'/');
    ExpectParsed({slashes.c_str(), L"", 0, false});

    std::wstring longPath = L"\\" + std::wstring(9990, L'p') + L".jpg";
    const std::wstring line = longPath + L" /65 /del";
    ExpectParsed({line.c_str(), longPath.c_str(), 65, true});

    std::wstring manyArguments = L"\\x.jpg";
    for (int i = 0; i < 2000; ++i) manyArguments += L" /" + std::to_wstring(i % 7 + 1);
    ExpectParsed({manyArguments.c_str(), L"\\x.jpg", 1, false});
}

TEST(ReadDecimal, FollowsTheRuntimeReaderAndHoldsAtThe32BitLimits) {
    EXPECT_EQ(ReadDecimal(L"  +42x"), 42);
    EXPECT_EQ(ReadDecimal(L"-17"), -17);
    EXPECT_EQ(ReadDecimal(L""), 0);
    EXPECT_EQ(ReadDecimal(L"x1"), 0);
    EXPECT_EQ(ReadDecimal(L"- 1"), 0);
    EXPECT_EQ(ReadDecimal(L"2147483647"), 2147483647);
    EXPECT_EQ(ReadDecimal(L"2147483648"), 2147483647);
    EXPECT_EQ(ReadDecimal(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ReadDecimal(L"99999999999999999999999"), 2147483647);
    EXPECT_EQ(ReadDecimal(L"-99999999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace glimmora::handoff
