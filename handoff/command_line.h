// The viewer's command line: an optional picture path, optionally in double quotes, followed
// by slash arguments. "/del" (any case) asks for the file to be deleted after it is shown;
// any other slash argument is a number of seconds. The desktop writes
//   \My Documents\Glimmora_001.jpg /65 /del
#pragma once

#include <string>
#include <string_view>

namespace glimmora::handoff {

struct ViewerCommandLine {
    std::wstring cmdFile;        // the picture path, trimmed; empty for folder mode
    int cmdIntervalSeconds = 0;  // 0: no interval given (file mode when a path is given)
    bool cmdDelete = false;      // "/del" was given
};

// Arguments are taken from the right, so the leftmost numeric argument wins and "/del" may
// stand anywhere among them. A path therefore must not contain "/".
ViewerCommandLine ParseViewerCommandLine(std::wstring_view commandLine);

// The C runtime's wtol: leading white space, an optional sign, decimal digits; no digits
// gives 0. Values beyond 32 bits are held at the nearest limit instead of overflowing.
int ReadDecimal(std::wstring_view text);

}  // namespace glimmora::handoff
