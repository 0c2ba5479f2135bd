// Writes a 24-bit BMP whose pixel rows are exactly the rows it is given.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace glimmora::tool {

// rowTopDown(y) returns the y-th row counted from the top: width pixels, blue, green, red.
// The file stores rows bottom-up, each padded to 4 bytes with zeros.
// Returns false (with errno-style reason in `error`) when the file cannot be written.
bool WriteBmp24(const std::string& path, int width, int height,
                const std::function<const std::uint8_t*(int y)>& rowTopDown, std::string& error);

}  // namespace glimmora::tool
