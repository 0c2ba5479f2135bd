// The handheld viewer's picture list: which files of a folder are pictures, the order they
// play in, finding the picture on screen again, and how paging and the timed advance move
// through the list and drop files that have gone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace glimmora::device {

struct PictureList {
    std::wstring folderPath;                 // ends in "\" unless empty
    std::vector<std::wstring> pictureNames;  // bare names, in play order
    std::int32_t currentIndex = -1;          // -1 while the picture on screen is not located
    std::wstring currentPath;                // full path of the picture on screen
};

// One entry of a folder search, as FindFirstFileW/FindNextFileW report it.
struct FolderEntry {
    std::wstring name;
    std::uint32_t sizeLow;     // low 32 bits of the size
    std::uint32_t attributes;  // FILE_ATTRIBUTE_* bits
};

constexpr std::uint32_t kAttributeDirectory = 0x10;

// Play order: by UTF-16 code unit, case-sensitive; a prefix comes first. -1, 0 or 1.
int CompareNames(const wchar_t* a, const wchar_t* b);

// Equality ignoring the case of A-Z only, as the handheld's C library compares names.
bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b);

// A non-empty file (not a folder) whose extension is .jpg, .jpeg or .jpe in any case.
bool IsPictureEntry(const FolderEntry& entry);

// The text after the last "\" (all of it without one) / up to and including it ("" without).
std::wstring NameFromPath(const std::wstring& path);
std::wstring FolderFromPath(const std::wstring& path);

// Rebuilds the names from a folder search in play order and locates currentPath's name
// among them (the last match, ignoring case), else currentIndex -1.
void BuildPictureList(PictureList& list, const std::vector<FolderEntry>& entries);

enum class StepKind { kManual, kTimed };
enum class StepResult {
    kShown,         // a picture was loaded and shown
    kLoadFailed,    // the picture at currentIndex could not be decoded
    kNothingShown,  // every remaining candidate had vanished
};

struct StepActions {
    // Whether a full path still exists (GetFileAttributesW succeeds).
    std::function<bool(const std::wstring& path)> exists;
    // Loads and shows a full path; false when it cannot be decoded (the caller says so).
    std::function<bool(const std::wstring& path)> loadAndShow;
};

// Manual paging back (callers use it only when currentIndex > 0).
StepResult StepBack(PictureList& list, const StepActions& actions);
// Manual paging forward (callers use it only when not at the last entry) or the timed
// advance, which wraps from the end to the first entry once per call.
StepResult StepForward(PictureList& list, StepKind kind, const StepActions& actions);

}  // namespace glimmora::device
