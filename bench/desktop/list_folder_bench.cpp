// ListFolder on a folder of 20,000 JPEG names (one byte each, since empty files are never
// listed), in name order and in random order, under the real directory search and locale
// comparison. Run under Wine: scripts/wine-run --prefix DIR -- desktop_list_folder_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/pictures/folder_listing.h"

namespace {

constexpr int kFiles = 20000;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Best and median of `runs` listings.
void Measure(const std::string& folder, std::uint8_t key, const char* label) {
    std::vector<double> times;
    glimmora::desktop::PictureList list;
    for (int run = 0; run < 5; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        glimmora::desktop::ListFolder(folder, list, key, true);
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-12s %6zu entries   best %7.1f ms   median %7.1f ms   (target < 500 ms)\n",
                label, list.size(), times.front() * 1000, times[times.size() / 2] * 1000);
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp)) return 1;
    const std::string folder =
        std::string(temp) + "glimmora-list-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return 1;

    // Names in no particular order, of mixed case, as a camera and a user's renames leave them.
    std::vector<std::string> names;
    unsigned seed = 2026;
    for (int i = 0; i < kFiles; ++i) {
        seed = seed * 1103515245u + 12345u;
        char name[64];
        std::snprintf(name, sizeof name, "%s_%05u_%04d.%s", (seed >> 20) % 3 ? "IMG" : "holiday",
                      (seed >> 8) % 100000u, i, i % 7 ? "jpg" : "JPG");
        names.push_back(name);
    }
    std::printf("creating %d one-byte pictures in %s ...\n", kFiles, folder.c_str());
    for (const std::string& name : names) {
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
    }

    std::printf("ListFolder of %d pictures (5 runs each)\n", kFiles);
    Measure(folder, 1, "name order");
    Measure(folder, 0, "random order");
    Measure(folder, 3, "date order");

    for (const std::string& name : names) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
