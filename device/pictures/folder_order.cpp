#include "device/pictures/folder_order.h"

#include <algorithm>
#include <utility>

namespace glimmora::device {

namespace {

// Reads a wide string as UTF-16 code units whatever the width of wchar_t, so the order is
// the same on hosts with 32-bit wchar_t as on the handheld.
class Utf16Units {
  public:
    explicit Utf16Units(const wchar_t* text) : text_(text) {}
    // The next unit; 0 at the end.
    std::uint32_t Next() {
        if (pendingLow_) return std::exchange(pendingLow_, 0u);
        const auto unit = static_cast<std::uint32_t>(*text_);
        if (unit == 0) return 0;
        ++text_;
        if (sizeof(wchar_t) > 2 && unit >= 0x10000 && unit <= 0x10FFFF) {
            const std::uint32_t v = unit - 0x10000;
            pendingLow_ = 0xDC00 + (v & 0x3FF);
            return 0xD800 + (v >> 10);
        }
        return sizeof(wchar_t) == 2 ? (unit & 0xFFFF) : unit;
    }

  private:
    const wchar_t* text_;
    std::uint32_t pendingLow_ = 0;
};

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

std::wstring FullPath(const PictureList& list, std::int32_t index) {
    return list.folderPath + list.pictureNames[static_cast<std::size_t>(index)];
}

std::int32_t Length(const PictureList& list) {
    return static_cast<std::int32_t>(list.pictureNames.size());
}

void RemoveAt(PictureList& list, std::int32_t index) {
    list.pictureNames.erase(list.pictureNames.begin() + index);
}

}  // namespace

int CompareNames(const wchar_t* a, const wchar_t* b) {
    Utf16Units left(a);
    Utf16Units right(b);
    for (;;) {
        const std::uint32_t x = left.Next();
        const std::uint32_t y = right.Next();
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

bool IsPictureEntry(const FolderEntry& entry) {
    if (entry.sizeLow == 0) return false;
    if (entry.attributes & kAttributeDirectory) return false;
    const std::size_t dot = entry.name.rfind(L'.');
    if (dot == std::wstring::npos) return false;
    const std::wstring extension = entry.name.substr(dot);
    return EqualsIgnoringCase(extension, L".jpg") || EqualsIgnoringCase(extension, L".jpeg") ||
           EqualsIgnoringCase(extension, L".jpe");
}

std::wstring NameFromPath(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderFromPath(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

void BuildPictureList(PictureList& list, const std::vector<FolderEntry>& entries) {
    list.pictureNames.clear();
    for (const FolderEntry& entry : entries)
        if (IsPictureEntry(entry)) list.pictureNames.push_back(entry.name);
    std::sort(list.pictureNames.begin(), list.pictureNames.end(),
              [](const std::wstring& a, const std::wstring& b) {
                  return CompareNames(a.c_str(), b.c_str()) < 0;
              });
    const std::wstring current = NameFromPath(list.currentPath);
    list.currentIndex = -1;
    for (std::int32_t i = Length(list) - 1; i >= 0; --i) {
        if (EqualsIgnoringCase(list.pictureNames[static_cast<std::size_t>(i)], current)) {
            list.currentIndex = i;
            break;
        }
    }
}

StepResult StepBack(PictureList& list, const StepActions& actions) {
    StepResult result = StepResult::kNothingShown;
    --list.currentIndex;
    while (list.currentIndex >= 0 && list.currentIndex < Length(list)) {
        const std::wstring path = FullPath(list, list.currentIndex);
        if (!actions.exists(path)) {
            RemoveAt(list, list.currentIndex);
            --list.currentIndex;
            continue;
        }
        if (actions.loadAndShow(path)) {
            result = StepResult::kShown;
        } else {
            RemoveAt(list, list.currentIndex);
            result = StepResult::kLoadFailed;
        }
        break;
    }
    if (list.currentIndex < 0) list.currentIndex = 0;
    return result;
}

StepResult StepForward(PictureList& list, StepKind kind, const StepActions& actions) {
    StepResult result = StepResult::kNothingShown;
    ++list.currentIndex;
    if (list.currentIndex < 0) list.currentIndex = 0;
    if (kind == StepKind::kTimed && list.currentIndex >= Length(list)) list.currentIndex = 0;
    while (list.currentIndex < Length(list)) {
        const std::wstring path = FullPath(list, list.currentIndex);
        if (!actions.exists(path)) {
            RemoveAt(list, list.currentIndex);
            continue;
        }
        if (actions.loadAndShow(path)) {
            result = StepResult::kShown;
        } else {
            // A timed advance keeps a picture it could not decode: it stays silent and will
            // try again next round.
            if (kind == StepKind::kManual) RemoveAt(list, list.currentIndex);
            result = StepResult::kLoadFailed;
        }
        break;
    }
    if (list.currentIndex >= Length(list)) list.currentIndex = Length(list) - 1;
    if (list.currentIndex < 0) list.currentIndex = 0;
    return result;
}

}  // namespace glimmora::device
