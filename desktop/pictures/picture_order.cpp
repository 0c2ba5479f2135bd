#include "desktop/pictures/picture_order.h"

#include <algorithm>
#include <utility>

namespace glimmora::desktop {

namespace {

int Sign(std::int64_t v) { return (v > 0) - (v < 0); }

// Sizes are never negative in a listing, but a 64-bit difference keeps the order right for
// any two 32-bit values.
int CompareSize(const PictureEntry& a, const PictureEntry& b) {
    return Sign(static_cast<std::int64_t>(a.size) - b.size);
}

// The packed date puts (year - 1980) in the top 7 bits, so from 2044 on the value is negative
// as a signed number. Comparing the bit patterns unsigned keeps such files after older ones,
// and never overflows the way a plain 32-bit subtraction would (which also left the sort
// with an inconsistent comparison).
int CompareTime(const PictureEntry& a, const PictureEntry& b) {
    const auto ta = static_cast<std::uint32_t>(a.time);
    const auto tb = static_cast<std::uint32_t>(b.time);
    return (ta > tb) - (ta < tb);
}

int CompareName(const PictureEntry& a, const PictureEntry& b, const NameOrder& nameOrder) {
    return Sign(nameOrder(a.name, b.name));
}

int CompareAscending(const PictureEntry& a, const PictureEntry& b, SortKey key,
                     const NameOrder& nameOrder) {
    int r = 0;
    switch (key) {
        case kSortName:
            r = CompareName(a, b, nameOrder);
            if (r == 0) r = CompareTime(a, b);
            break;
        case kSortSize:
            r = CompareSize(a, b);
            if (r == 0) r = CompareName(a, b, nameOrder);
            if (r == 0) r = CompareTime(a, b);
            break;
        case kSortDate:
            r = CompareTime(a, b);
            if (r == 0) r = CompareName(a, b, nameOrder);
            break;
        default: r = CompareName(a, b, nameOrder); break;
    }
    return r;
}

}  // namespace

std::string ExtensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool HasPictureExtension(const std::string& name, const ExtensionEquals& equals) {
    const std::string ext = ExtensionOf(name);
    if (ext.empty()) return false;
    for (const char* candidate : {".jpg", ".jpeg", ".jpe"}) {
        if (equals(ext, candidate)) return true;
    }
    return false;
}

std::int32_t PackDosDateTime(int year, int month, int day, int hour, int minute, int second) {
    const std::uint32_t date =
        static_cast<std::uint32_t>((year - 1980) * 512 + month * 32 + day) & 0xFFFFu;
    const std::uint32_t time =
        static_cast<std::uint32_t>(hour * 2048 + minute * 32 + second / 2) & 0xFFFFu;
    return static_cast<std::int32_t>((date << 16) | time);
}

int ComparePictures(const PictureEntry& a, const PictureEntry& b, SortKey key, bool ascending,
                    const NameOrder& nameOrder) {
    // Descending is the ascending comparison with the operands exchanged, tie-breaks included.
    return ascending ? CompareAscending(a, b, key, nameOrder)
                     : CompareAscending(b, a, key, nameOrder);
}

void SortPictures(PictureList& list, SortKey key, bool ascending, const NameOrder& nameOrder) {
    std::sort(list.begin(), list.end(), [&](const PictureEntry& a, const PictureEntry& b) {
        return ComparePictures(a, b, key, ascending, nameOrder) < 0;
    });
}

Random31::Random31(std::uint32_t seed) : state_(seed % 2147483647u) {
    if (state_ == 0) state_ = 1;  // the generator would stay at 0 for ever
}

std::int32_t Random31::Next() {
    // Park and Miller's minimal standard generator: values 1 .. 2^31 - 2.
    state_ = (state_ * 48271u) % 2147483647u;
    return static_cast<std::int32_t>(state_);
}

void ShufflePictures(PictureList& list, Random31& random) {
    const std::size_t n = list.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t r = static_cast<std::size_t>(random.Next()) % n;
        if (r != i) std::swap(list[i], list[r]);
    }
}

void OrderListing(PictureList& files, PictureList& folders, SortKey key, bool ascending,
                  const NameOrder& nameOrder, std::uint32_t seed) {
    if (key == kSortName || key == kSortSize || key == kSortDate) {
        SortPictures(files, key, ascending, nameOrder);
        SortPictures(folders, key, ascending, nameOrder);
    } else {
        Random31 random(seed);
        ShufflePictures(files, random);
        SortPictures(folders, kSortName, true, nameOrder);
    }
    files.reserve(files.size() + folders.size());
    for (PictureEntry& folder : folders) files.push_back(std::move(folder));
    folders.clear();
}

SortKey SortKeyFromStored(std::uint32_t stored) {
    return (stored >= 1 && stored <= 3) ? static_cast<SortKey>(stored) : kSortRandom;
}

}  // namespace glimmora::desktop
