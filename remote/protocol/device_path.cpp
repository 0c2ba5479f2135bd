#include "remote/protocol/device_path.h"

#include "remote/protocol/link_numbers.h"

namespace glimmora::remote {
namespace {

// "nul", "com1.txt" and the like open devices on the host rather than files of the handheld.
bool IsReservedDeviceName(const std::u16string& part) {
    std::u16string stem = part.substr(0, part.find(u'.'));
    for (char16_t& c : stem) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    while (!stem.empty() && stem.back() == u' ') stem.pop_back();
    if (stem == u"CON" || stem == u"PRN" || stem == u"AUX" || stem == u"NUL" || stem == u"CONIN$" ||
        stem == u"CONOUT$") {
        return true;
    }
    if (stem.size() == 4 && (stem.compare(0, 3, u"COM") == 0 || stem.compare(0, 3, u"LPT") == 0) &&
        stem[3] >= u'0' && stem[3] <= u'9') {
        return true;
    }
    return false;
}

}  // namespace

uint32_t MapDevicePath(const std::u16string& root, const std::u16string& device_path,
                       std::u16string* host_path) {
    if (device_path.empty()) return err::kPathNotFound;
    if (device_path.size() > kMaxDevicePath) return err::kFilenameTooLong;
    std::u16string normal;
    normal.reserve(device_path.size() + 1);
    std::u16string part;
    auto finish_part = [&]() -> bool {
        if (part.empty()) return true;  // doubled separators, as the handheld allows
        if (part == u"." || part == u"..") return false;
        // Windows drops trailing dots and blanks, so "..." or ".. " would still climb out.
        char16_t last = part.back();
        if (last == u'.' || last == u' ') return false;
        if (IsReservedDeviceName(part)) return false;
        normal += u'\\';
        normal += part;
        part.clear();
        return true;
    };
    for (char16_t c : device_path) {
        if (c == u'\\' || c == u'/') {
            if (!finish_part()) return err::kInvalidName;
            continue;
        }
        // ':' would name another drive or a stream; the rest are never valid in a file name.
        if (c < 0x20 || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
            c == u'>' || c == u'|') {
            return err::kInvalidName;
        }
        part += c;
    }
    if (!finish_part()) return err::kInvalidName;
    if (normal.empty()) normal = u"\\";
    std::u16string base = root;
    while (!base.empty() && (base.back() == u'\\' || base.back() == u'/')) base.pop_back();
    *host_path = base + normal;
    return err::kSuccess;
}

bool SpecialFolderPath(int32_t csidl, std::u16string* path) {
    switch (csidl) {
        case 0x02: *path = u"\\Windows\\Start Menu\\Programs"; return true;  // programs
        case 0x05: *path = u"\\My Documents"; return true;                   // personal
        case 0x06: *path = u"\\Windows\\Favorites"; return true;             // favorites
        case 0x07: *path = u"\\Windows\\StartUp"; return true;               // startup
        case 0x08: *path = u"\\Windows\\Recent"; return true;                // recent
        case 0x0b: *path = u"\\Windows\\Start Menu"; return true;            // start menu
        case 0x10: *path = u"\\Windows\\Desktop"; return true;               // desktop folder
        case 0x14: *path = u"\\Windows\\Fonts"; return true;                 // fonts
        case 0x1a: *path = u"\\Application Data"; return true;               // application data
        default: return false;
    }
}

std::u16string DeviceTempPath() { return u"\\Temp\\"; }

}  // namespace glimmora::remote
