#include "desktop/folder_listing.h"

#include <windows.h>

#include <ctime>
#include <string>
#include <exception>

#include "common/unique_win.h"
#include "desktop/picture_order.h"

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

void Collect(const std::string& folder, PictureList& files, PictureList& folders) {
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() == '\\') pattern.pop_back();
    pattern += "\\*.*";
    WIN32_FIND_DATAA data;
    UniqueFind search(FindFirstFileA(pattern.c_str(), &data));
    if (!search) return;
    do {
        if (data.dwFileAttributes & kLeftOut) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Subfolders keep their write time: the date order sorts them by it too.
            if (!IsDotEntry(data.cFileName)) {
                folders.push_back({data.cFileName, 0, PackedLocalWriteTime(data.ftLastWriteTime), 1});
            }
            continue;
        }
        // Only the low 32 bits, as a signed number: empty files and files from 2 GiB to
        // 4 GiB are never pictures here.
        const auto size = static_cast<std::int32_t>(data.nFileSizeLow);
        if (size <= 0) continue;
        if (!HasPictureExtension(data.cFileName, LocaleEqualsIgnoringCase)) continue;
        files.push_back({data.cFileName, size, PackedLocalWriteTime(data.ftLastWriteTime), 0});
    } while (FindNextFileA(search.get(), &data));
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

void ListFolder(const std::string& folder, PictureList& list, std::uint8_t sortKey, bool ascending) {
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
