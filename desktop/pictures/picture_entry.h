// One entry of a desktop folder listing, and the list the session walks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::desktop {

struct PictureEntry {
    std::string name;       // without path, in the desktop's ANSI code page
    std::int32_t size = 0;  // low 32 bits of the file size; 0 for folders
    std::int32_t time = 0;  // local last-write time packed as MS-DOS date (high) and time (low)
    std::int32_t isDirectory = 0;
    // The short alias, kept only when the long name has characters the ANSI code page
    // lacks: `name` then holds stand-ins ("????.jpg") that open nothing, and the alias is
    // what the session opens and records instead. Empty for every name that converts.
    std::string alias;
};

// The name the session opens an entry by, joins into paths and compares against a saved
// path. The display order always uses `name`.
inline const std::string& PathName(const PictureEntry& entry) {
    return entry.alias.empty() ? entry.name : entry.alias;
}

// Picture files first, then subfolders. Entries are held by value: dropping one entry or
// refilling the list can never leave a dangling record behind.
using PictureList = std::vector<PictureEntry>;

// The stored display order (FileSortBy). Anything else is read as random.
enum SortKey : std::uint8_t {
    kSortRandom = 0,
    kSortName = 1,
    kSortSize = 2,
    kSortDate = 3,
};

}  // namespace glimmora::desktop
