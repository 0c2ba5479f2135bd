// The viewer's command line, as any launcher may pass it, and the round trip from the line
// the desktop writes to what the viewer reads back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "handoff/command_line.h"
#include "handoff/picture_files.h"

using glimmora::handoff::ParseViewerCommandLine;
using glimmora::handoff::ViewerCommandLine;

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

void Check(bool holds, const char* what) { glimmora::fuzz::Require(holds, "command line", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const glimmora::fuzz::CpuLimit limit;
    const std::wstring line = glimmora::fuzz::Utf16Units<std::wstring>(data, size);
    const ViewerCommandLine parsed = ParseViewerCommandLine(line);
    Check(parsed.cmdFile.find(L'/') == std::wstring::npos, "a path kept a slash argument");
    glimmora::handoff::ReadDecimal(line);

    // The desktop's line for a path made of the same text: the viewer must read back the
    // path, the interval and the deletion exactly as they were written.
    if (size < 5) return 0;
    std::int32_t interval = 0;
    std::memcpy(&interval, data, sizeof interval);
    if (interval < 0) interval = -(interval + 1);
    const bool keep = (data[4] & 1) != 0;
    std::wstring path;
    for (wchar_t c : glimmora::fuzz::Utf16Units<std::wstring>(data + 5, size - 5))
        if (c != L'/') path.push_back(c);
    // Blanks and quotes around a path are the viewer's to drop; the desktop never writes them.
    while (!path.empty() && (IsBlank(path.front()) || path.front() == L'"')) path.erase(0, 1);
    while (!path.empty() && (IsBlank(path.back()) || path.back() == L'"')) path.pop_back();
    const ViewerCommandLine back =
        ParseViewerCommandLine(glimmora::handoff::ViewerLaunchArguments(path, interval, keep));
    const std::int64_t expected = std::min<std::int64_t>(
        std::int64_t{interval} + glimmora::handoff::kLaunchIntervalGraceSeconds, INT32_MAX);
    Check(back.cmdFile == path, "the path did not come back");
    Check(back.cmdIntervalSeconds == expected, "the interval did not come back");
    Check(back.cmdDelete == !keep, "the deletion did not come back");
    return 0;
}
