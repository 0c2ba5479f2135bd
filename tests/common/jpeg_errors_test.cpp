#include "common/jpeg_errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_jpeg.h"

namespace glimmora {
namespace {

std::vector<std::string> g_sunk;
void Sink(const char* text) { g_sunk.emplace_back(text); }

struct ComplaintCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool headerRead;      // the guarded header read came back
    const char* warning;  // part of the first warning's text, or nullptr
    const char* fatal;    // part of the fatal error's text, or nullptr
};

// The decoder's own texts come through unchanged, a warning and a later fatal error each in
// its own field: the viewer reports the fatal one, the desktop the first complaint.
TEST(JpegErrors, KeepTheFirstWarningAndTheFatalErrorApartAndStopAfterAFatalOne) {
    const std::vector<std::uint8_t> whole =
        test::EncodeJpeg(test::CheckeredGradient(16, 16, 3), test::kRgb);
    const ComplaintCase cases[] = {
        {"picture", whole, true, nullptr, nullptr},
        {"text",
         {'h', 'e', 'l', 'l', 'o'},
         false,
         nullptr,
         "Not a JPEG file: starts with 0x68 0x65"},
        {"start marker only",
         {0xFF, 0xD8},
         false,
         "Premature end of JPEG file",
         "JPEG datastream contains no image"},
    };
    for (const ComplaintCase& c : cases) {
        g_sunk.clear();
        JpegErrors errors;
        jpeg_decompress_struct cinfo;
        std::memset(&cinfo, 0, sizeof cinfo);
        cinfo.err = UseJpegErrors(errors, Sink);
        const DecompressorOwner owner(&cinfo);
        const bool read = JpegGuarded(errors, [&] {
            jpeg_create_decompress(&cinfo);
            jpeg_mem_src(&cinfo, c.bytes.data(), static_cast<unsigned long>(c.bytes.size()));
            jpeg_read_header(&cinfo, TRUE);
        });
        EXPECT_EQ(read, c.headerRead) << c.name;
        EXPECT_EQ(errors.fatal, c.fatal != nullptr) << c.name;
        EXPECT_EQ(errors.warned, c.warning != nullptr) << c.name;
        const std::string first = errors.FirstComplaint();
        if (c.fatal) {
            EXPECT_NE(std::string(errors.fatalText).find(c.fatal), std::string::npos) << c.name;
        }
        if (c.warning) {
            EXPECT_NE(first.find(c.warning), std::string::npos) << c.name;
            ASSERT_EQ(g_sunk.size(), 1u) << c.name;
            EXPECT_EQ(g_sunk[0], first) << c.name;
        } else {
            EXPECT_EQ(first, c.fatal ? errors.fatalText : "") << c.name;
            EXPECT_TRUE(g_sunk.empty()) << c.name;
        }

        bool ranAgain = false;
        EXPECT_EQ(JpegGuarded(errors, [&] { ranAgain = true; }), !errors.fatal) << c.name;
        EXPECT_EQ(ranAgain, !errors.fatal) << c.name << ": a dead codec must not be touched";
    }
}

}  // namespace
}  // namespace glimmora
