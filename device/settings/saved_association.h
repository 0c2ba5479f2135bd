// Where the .jpg association keeps the values it replaced, and when a saved value means the
// association is in force. The viewer's settings read this to show the toggle's state, the
// association writes and restores the values; both sides see the same rule from here.
#pragma once

namespace glimmora::device::association {

inline constexpr wchar_t kOldShellOpenCommand[] = L"Old_ShellOpenCommand";
inline constexpr wchar_t kOldDefaultIcon[] = L"Old_DefaultIcon";

// A saved value of more than 2 bytes (more than a bare terminator) marks the association as
// in force.
constexpr bool SavedValueInForce(unsigned long bytes) { return bytes > 2; }

}  // namespace glimmora::device::association
