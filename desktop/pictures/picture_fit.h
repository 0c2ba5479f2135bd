// Reduces a desktop JPEG toward a handheld's screen before it is sent.
#pragma once

#include <optional>
#include <string>

#include "desktop/pictures/bitmap24.h"

namespace glimmora::desktop {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size a width x height picture is reduced to for a screenWidth x screenHeight handheld.
// Only the screen's longer side limits the picture (the viewer turns or pans the rest); a
// picture is never enlarged, and a screen side of 0 or less means no reduction at all.
// A side may come out as 0 for very elongated pictures; FitPicture refuses those.
PictureSize FitSize(int width, int height, int screenWidth, int screenHeight);

// What became of one FitPicture call, for callers that explain failures (the session does
// not; it only drops the picture).
struct FitReport {
    bool decodeWarned = false;  // the decoder complained (a warning after the start of
                                // decoding still gives a picture)
    std::string reason;         // why there is no picture, or the decoder's first complaint
    PictureSize source;         // the picture's own size, once its header was read (else 0 x 0)
};

// Decodes the JPEG file at `path` (a desktop ANSI path) and reduces it with the tent filter.
// Nothing when the file cannot be opened, is not a JPEG picture, announces more pixels than
// handoff::kMaxPicturePixels, cannot be decoded, or would reduce to nothing.
std::optional<Bitmap24> FitPicture(const std::string& path, int screenWidth, int screenHeight,
                                   FitReport* report = nullptr);

}  // namespace glimmora::desktop
