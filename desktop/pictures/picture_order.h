// The rules of a desktop listing that do not need the file system: which names are pictures,
// how a write time is packed, and the display orders. Kept apart from the directory search so
// the orders can be checked with any name comparison.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "desktop/pictures/picture_entry.h"

namespace glimmora::desktop {

// Name order of a against b: negative, zero or positive. The desktop uses the user locale's
// case-sensitive comparison; tests pass their own.
using NameOrder = std::function<int(const std::string& a, const std::string& b)>;
// Case-insensitive equality of two extensions (dot included).
using ExtensionEquals = std::function<bool(const std::string& a, const std::string& b)>;

// The text from the last '.' (dot included), or empty when the name has no dot.
std::string ExtensionOf(const std::string& name);

// True when the name's extension is .jpg, .jpeg or .jpe under the given comparison.
bool HasPictureExtension(const std::string& name, const ExtensionEquals& equals);

// Packs a local date and time as MS-DOS date (upper 16 bits) and time (lower 16 bits).
std::int32_t PackDosDateTime(int year, int month, int day, int hour, int minute, int second);

// The comparison of the display order table: negative when a comes first.
int ComparePictures(const PictureEntry& a, const PictureEntry& b, SortKey key, bool ascending,
                    const NameOrder& nameOrder);

// Sorts with the comparison above.
void SortPictures(PictureList& list, SortKey key, bool ascending, const NameOrder& nameOrder);

// Non-negative 31-bit pseudo-random numbers from a seed; same seed, same sequence.
class Random31 {
  public:
    explicit Random31(std::uint32_t seed);
    std::int32_t Next();

  private:
    std::uint64_t state_;
};

// The exchange shuffle: every position i swaps with position (r mod n). Not uniform, but
// it is the order users of this program have always had.
void ShufflePictures(PictureList& list, Random31& random);

// Orders one folder's listing and joins it: files in the chosen order, then subfolders in
// ascending name order when the order is random, else in the chosen order. `seed` is used
// only for the random order.
void OrderListing(PictureList& files, PictureList& folders, SortKey key, bool ascending,
                  const NameOrder& nameOrder, std::uint32_t seed);

// A stored FileSortBy value as a key: 1, 2 and 3 name an order, everything else is random.
SortKey SortKeyFromStored(std::uint32_t stored);

}  // namespace glimmora::desktop
