#include "desktop/settings/desktop_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <variant>

namespace glimmora::desktop {
namespace {

// A key's values: REG_DWORD as uint32, REG_SZ as string, anything else as a byte blob.
using Value = std::variant<std::uint32_t, std::string, std::vector<std::uint8_t>>;

class FakeKey : public SettingsReader, public SettingsWriter {
  public:
    std::map<std::string, Value> values;
    std::vector<std::string> writes;
    int failAtWrite = -1;  // index of the write that fails

    std::optional<std::uint32_t> ReadDword(const char* name) override {
        auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::uint32_t>(it->second))
            return std::nullopt;
        return std::get<std::uint32_t>(it->second);
    }
    std::optional<std::string> ReadText(const char* name) override {
        auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::string>(it->second))
            return std::nullopt;
        return std::get<std::string>(it->second);
    }
    bool WriteDword(const char* name, std::uint32_t value) override { return Write(name, value); }
    bool WriteText(const char* name, const std::string& value) override {
        return Write(name, value);
    }

  private:
    bool Write(const char* name, Value value) {
        if (static_cast<int>(writes.size()) == failAtWrite) return false;
        writes.push_back(name);
        values[name] = std::move(value);
        return true;
    }
};

TEST(ReadSettings, EmptyKeyGivesTheDefaults) {
    FakeKey key;
    const DesktopSettings s = ReadSettings(key);
    EXPECT_EQ(s.imageFolderPath, "");
    EXPECT_EQ(s.fileSortBy, 0);
    EXPECT_TRUE(s.fileSortAscending);
    EXPECT_EQ(s.pictureChangeInterval, 60);
    EXPECT_TRUE(s.autoStart);
    EXPECT_EQ(s.autoStartDelay, 180);
    EXPECT_FALSE(s.showCalendar);
    EXPECT_TRUE(s.doNotRemoveTempFiles);
    EXPECT_EQ(s.ppcTempFilePath, "");
    EXPECT_EQ(s.ppcTempMaxFileCount, 5);
    EXPECT_EQ(InitialWindowSettings().autoStartDelay, 0);
}

TEST(ReadSettings, OutOfRangeValuesArePulledToTheNearestBound) {
    FakeKey key;
    key.values = {{"PictureChangeInterval", 2u},
                  {"AutoStartDelay", 100000u},
                  {"PPC_TempMaxFileCount", 0xFFFFFFFFu},
                  {"FileSortBy", 7u}};
    const DesktopSettings s = ReadSettings(key);
    EXPECT_EQ(s.pictureChangeInterval, 5);
    EXPECT_EQ(s.autoStartDelay, 86400);
    EXPECT_EQ(s.ppcTempMaxFileCount, 1);  // -1 as the window's field holds it
    EXPECT_EQ(s.fileSortBy, 0);

    key.values = {
        {"PictureChangeInterval", 86401u}, {"PPC_TempMaxFileCount", 101u}, {"FileSortBy", 3u}};
    const DesktopSettings t = ReadSettings(key);
    EXPECT_EQ(t.pictureChangeInterval, 86400);
    EXPECT_EQ(t.ppcTempMaxFileCount, 100);
    EXPECT_EQ(t.fileSortBy, 3);
}

TEST(ReadSettings, WrongTypesTakeTheirDefaultAndSpoilNothingElse) {
    FakeKey key;
    key.values = {{"PictureChangeInterval", std::string("30")},
                  {"ImageFolderPath", 17u},
                  {"AutoStart", std::vector<std::uint8_t>{0, 0, 0, 0}},
                  {"ShowCalendar", 5u},
                  {"FileSortAscending", 0u},
                  {"PPC_TempFilePath", std::string("  \\Storage Card ")}};
    const DesktopSettings s = ReadSettings(key);
    EXPECT_EQ(s.pictureChangeInterval, 60);
    EXPECT_EQ(s.imageFolderPath, "");
    EXPECT_TRUE(s.autoStart);
    EXPECT_TRUE(s.showCalendar);  // any non-zero value is set
    EXPECT_FALSE(s.fileSortAscending);
    EXPECT_EQ(s.ppcTempFilePath, "  \\Storage Card ");  // shown with its blanks
}

TEST(WriteSettings, WritesInOrderWithTheHandheldFolderTrimmed) {
    FakeKey key;
    DesktopSettings s;
    s.imageFolderPath = "C:\\Pictures\\";
    s.ppcTempFilePath = " \t\\My Documents\\Frame  ";
    s.pictureChangeInterval = 2;  // never stored outside its range
    ASSERT_TRUE(WriteSettings(s, key));
    EXPECT_EQ(key.writes,
              (std::vector<std::string>{"ImageFolderPath", "FileSortBy", "FileSortAscending",
                                        "PictureChangeInterval", "AutoStart", "AutoStartDelay",
                                        "ShowCalendar", "DoNotRemoveTempFiles", "PPC_TempFilePath",
                                        "PPC_TempMaxFileCount"}));
    EXPECT_EQ(std::get<std::string>(key.values["PPC_TempFilePath"]), "\\My Documents\\Frame");
    EXPECT_EQ(std::get<std::uint32_t>(key.values["PictureChangeInterval"]), 5u);
    EXPECT_EQ(std::get<std::uint32_t>(key.values["FileSortAscending"]), 1u);
    EXPECT_EQ(ReadSettings(key).imageFolderPath, "C:\\Pictures\\");
}

TEST(WriteSettings, FailingWriteStopsTheLaterOnes) {
    FakeKey key;
    key.failAtWrite = 3;  // PictureChangeInterval
    EXPECT_FALSE(WriteSettings(DesktopSettings{}, key));
    EXPECT_EQ(key.writes,
              (std::vector<std::string>{"ImageFolderPath", "FileSortBy", "FileSortAscending"}));
    EXPECT_EQ(key.values.count("AutoStart"), 0u);
}

TEST(TrimBlanks, RemovesOnlyTheEnds) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("\xE9t\xE9"), "\xE9t\xE9");  // ANSI letters above 127 are no blanks
}

TEST(ChooseDefaultPictureFolder, MyPicturesThenMyDocumentsOnlyWhenUnknownThenProgram) {
    const ShellFolder pictures{true, std::string("C:\\Users\\u\\Pictures")};
    const ShellFolder documents{true, std::string("C:\\Users\\u\\Documents\\")};
    const ShellFolder unknown{false, std::nullopt};
    const ShellFolder knownNoPath{true, std::nullopt};
    EXPECT_EQ(ChooseDefaultPictureFolder("C:\\Prog", pictures, documents),
              "C:\\Users\\u\\Pictures\\");
    EXPECT_EQ(ChooseDefaultPictureFolder("C:\\Prog", unknown, documents),
              "C:\\Users\\u\\Documents\\");
    // My Pictures is known but has no file-system path: My Documents is not asked.
    EXPECT_EQ(ChooseDefaultPictureFolder("C:\\Prog", knownNoPath, documents), "C:\\Prog\\");
    EXPECT_EQ(ChooseDefaultPictureFolder("C:\\Prog\\", unknown, unknown), "C:\\Prog\\");
}

}  // namespace
}  // namespace glimmora::desktop
