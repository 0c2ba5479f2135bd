#include "desktop/pictures/folder_listing.h"

#include <windows.h>

#include <ctime>
#include <string>
#include <exception>

#include "common/unique_win.h"
#include "desktop/pictures/folder_listing_names.h"
#include "desktop/pictures/picture_order.h"

namespace glimmora::desktop {

namespace {

constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;

std::int32_t PackedLocalWriteTime(const FILETIME& utc) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
        return 0;  // outside the years an MS-DOS date can hold
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(date) << 16 | time);
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The wide name in the ANSI code page as the A functions give it, and whether it converts
// back to the same name. Listing wide and converting here is how a substituted character
// is told from a real '?' (Windows names cannot hold one, other file systems can).
AnsiName ToAnsi(const wchar_t* wide) {
    AnsiName out;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return out;
    std::string text(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), bytes, nullptr, nullptr) != bytes) {
        return out;
    }
    text.pop_back();  // the terminator
    const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring back(units > 0 ? static_cast<std::size_t>(units) : 0, L'\0');
    if (units > 0 &&
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, back.data(), units) == units) {
        back.pop_back();
        out.exact = back == wide;
    }
    out.text = std::move(text);
    return out;
}

void Collect(const std::string& folder, PictureList& files, PictureList& folders) {
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() == '\\') pattern.pop_back();
    pattern += "\\*.*";
    const int units = MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, nullptr, 0);
    if (units <= 0) return;
    std::wstring widePattern(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, widePattern.data(), units);
    WIN32_FIND_DATAW data;
    UniqueFind search(FindFirstFileW(widePattern.c_str(), &data));
    if (!search) return;
    do {
        if (data.dwFileAttributes & kLeftOut) continue;
        PictureEntry entry;
        NameEntry(ToAnsi(data.cFileName), ToAnsi(data.cAlternateFileName), entry);
        if (entry.name.empty()) continue;
        entry.time = PackedLocalWriteTime(data.ftLastWriteTime);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Subfolders keep their write time: the date order sorts them by it too.
            if (!IsDotEntry(entry.name.c_str())) {
                entry.isDirectory = 1;
                folders.push_back(std::move(entry));
            }
            continue;
        }
        // Only the low 32 bits, as a signed number: empty files and files from 2 GiB to
        // 4 GiB are never pictures here.
        entry.size = static_cast<std::int32_t>(data.nFileSizeLow);
        if (entry.size <= 0) continue;
        if (!HasPictureExtension(entry.name, LocaleEqualsIgnoringCase)) continue;
        files.push_back(std::move(entry));
    } while (FindNextFileW(search.get(), &data));
}

}  // namespace

int LocaleNameOrder(const std::string& a, const std::string& b) {
    const int result = CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1);
    // 0 means the call failed; byte order then keeps the sort's comparison consistent.
    if (result == 0) return a.compare(b);
    return result - CSTR_EQUAL;
}

bool LocaleEqualsIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

void ListFolder(const std::string& folder, PictureList& list, std::uint8_t sortKey,
                bool ascending) {
    list.clear();
    try {
        PictureList folders;
        Collect(folder, list, folders);
        // Seeded once per listing from the time in seconds: two listings within one second
        // come out in the same random order.
        OrderListing(list, folders, SortKeyFromStored(sortKey), ascending, LocaleNameOrder,
                     static_cast<std::uint32_t>(std::time(nullptr)));
    } catch (const std::exception&) {
        list.clear();  // out of memory: as if the folder could not be searched
    }
}

}  // namespace glimmora::desktop
