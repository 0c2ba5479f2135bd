#include <windows.h>

#include <vector>

#include "common/unique_win.h"
#include "common/wait_cursor_win.h"
#include "device/pictures/folder_scan.h"

namespace glimmora::device {

void ScanFolder(PictureList& list) {
    const WaitCursor wait;
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = list.folderPath + L"*.*";
    UniqueFind search(::FindFirstFileW(pattern.c_str(), &data));
    if (search) {
        do {
            entries.push_back({data.cFileName, data.nFileSizeLow, data.dwFileAttributes});
        } while (::FindNextFileW(search.get(), &data));
    }
    BuildPictureList(list, entries);
}

}  // namespace glimmora::device
