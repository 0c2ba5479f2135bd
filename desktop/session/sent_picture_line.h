// The line the session hands a watching debugger (OutputDebugStringA) for every picture it
// delivered: which desktop file, its size before and after fitting, and how long the
// delivery took. The program keeps no log; a debugger, or scripts/frame through Wine's
// debug channel, is the only listener.
#pragma once

#include <cstdint>
#include <string>

#include "desktop/pictures/picture_fit.h"

namespace glimmora::desktop::session {

// "Dockhaven: sent 2560x1600 as 512x320 in 143 ms: C:\Pictures\Aqua.jpg\n". The path comes
// last, as it is, so that a listener that shortens long texts loses only its end.
std::string SentPictureLine(const std::string& source, PictureSize before, PictureSize after,
                            std::uint32_t milliseconds);

}  // namespace glimmora::desktop::session
