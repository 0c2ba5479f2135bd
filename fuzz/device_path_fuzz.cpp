// The handheld path mapping: whatever a request names must land inside the handheld's
// folder, as a path of ordinary parts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "remote/protocol/device_path.h"
#include "remote/protocol/link_numbers.h"

namespace {

void Check(bool holds, const char* what) { glimmora::fuzz::Require(holds, "device path", what); }

const std::u16string kRoot = u"C:\\glimmora\\handheld";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const glimmora::fuzz::CpuLimit limit;
    using namespace glimmora::remote;
    if (size >= 4) {
        std::int32_t csidl = 0;
        std::memcpy(&csidl, data, sizeof csidl);
        std::u16string folder;
        if (SpecialFolderPath(csidl, &folder)) {
            std::u16string host;
            Check(MapDevicePath(kRoot, folder, &host) == err::kSuccess,
                  "a special folder does not map");
        }
    }
    const std::u16string path = glimmora::fuzz::Utf16Units<std::u16string>(data, size);
    std::u16string host = u"untouched";
    const std::uint32_t result = MapDevicePath(kRoot, path, &host);
    if (result != err::kSuccess) {
        Check(host == u"untouched", "a refused path was still given a host path");
        return 0;
    }
    Check(path.size() <= kMaxDevicePath, "an over-long path was accepted");
    Check(host.compare(0, kRoot.size(), kRoot) == 0 && host.size() > kRoot.size() &&
              host[kRoot.size()] == u'\\',
          "the host path is outside the handheld's folder");
    // Every part after the root: not empty, not a climb, no drive or stream, no device.
    std::size_t start = kRoot.size() + 1;
    while (start < host.size()) {
        std::size_t end = host.find(u'\\', start);
        if (end == std::u16string::npos) end = host.size();
        const std::u16string part = host.substr(start, end - start);
        Check(!part.empty(), "an empty part");
        Check(part.back() != u'.' && part.back() != u' ', "a part Windows would shorten");
        for (char16_t c : part)
            Check(c >= 0x20 && c != u':' && c != u'/' && c != u'*' && c != u'?' && c != u'"' &&
                      c != u'<' && c != u'>' && c != u'|',
                  "a character no file name may hold");
        start = end + 1;
    }
    return 0;
}
