// Names and command lines of the pictures the desktop hands to the viewer.
#pragma once

#include <string>

namespace glimmora::handoff {

// The viewer program, relative to the installation folder.
inline constexpr wchar_t kViewerProgramName[] = L"\\Glimmora.exe";
// Subfolder of the personal folder that holds pictures the desktop keeps on the handheld.
inline constexpr wchar_t kKeptPicturesFolder[] = L"\\Glimmora";
// The viewer advances on its own only when the desktop's next picture is this late.
inline constexpr int kLaunchIntervalGraceSeconds = 5;

// folder + "\Glimmora_%03d.jpg": at least three digits, zero-padded ("Glimmora_001.jpg").
std::wstring DevicePictureName(const std::wstring& folder, int counter);

// The installation folder as read from the handheld, followed by "\Glimmora.exe".
std::wstring ViewerProgramPath(const std::wstring& installedDir);

// The viewer's command line for one picture: the unquoted path, " /<interval + 5>", and
// " /del" unless the desktop keeps its pictures on the handheld.
std::wstring ViewerLaunchArguments(const std::wstring& picturePath, int desktopIntervalSeconds,
                                   bool keepPictures);

// The counter at the start of a pass: back to 1 once it has run past the maximum kept
// pictures (a maximum of 0 or less therefore always gives 1).
int PictureCounterForPass(int counter, int maxKeptPictures);

// The counter after a fitted picture: only kept pictures are numbered on; otherwise every
// picture reuses number 1 and the viewer deletes it after showing it.
int PictureCounterAfterPicture(int counter, bool keepPictures);

}  // namespace glimmora::handoff
