#include "desktop/session/sent_picture_line.h"

namespace glimmora::desktop::session {

namespace {

std::string SizeText(PictureSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

}  // namespace

std::string SentPictureLine(const std::string& source, PictureSize before, PictureSize after,
                            std::uint32_t milliseconds) {
    return "Dockhaven: sent " + SizeText(before) + " as " + SizeText(after) + " in " +
           std::to_string(milliseconds) + " ms: " + source + "\n";
}

}  // namespace glimmora::desktop::session
