// Handheld paths and where they live on the host. The handheld has one file system rooted at
// "\"; the agent keeps it inside one host folder (the emulated handheld's storage), and no
// request may name anything outside that folder.
#pragma once

#include <cstdint>
#include <string>

namespace glimmora::remote {

constexpr uint32_t kMaxDevicePath = 260;

// Turns a handheld path ("\My Documents\a.jpg"; '/' is accepted as a separator, and a path
// without a leading separator is taken from the root as the handheld has no current folder)
// into root + "\My Documents\a.jpg". Returns a Win32 error code: kInvalidName for drive
// letters, stream names, control characters, "." or ".." parts; kPathNotFound for an empty
// path; kFilenameTooLong beyond 260 units.
uint32_t MapDevicePath(const std::u16string& root, const std::u16string& device_path,
                       std::u16string* host_path);

// The handheld's special folders (CSIDL numbers), as a Pocket PC names them. Returns false for
// folders a handheld does not have.
bool SpecialFolderPath(int32_t csidl, std::u16string* path);

// The handheld's temporary folder, with its trailing backslash as GetTempPath gives it.
std::u16string DeviceTempPath();

}  // namespace glimmora::remote
