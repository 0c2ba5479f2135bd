// Large photo-like JPEGs for the benchmarks, and the bare decode every loader is compared with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace glimmora::bench {

// Writes a width x height baseline JPEG at quality 90, a camera's usual setting. fillRow is
// asked for each row in turn, top to bottom, as width red-green-blue triples; the picture is
// never held whole, so even 6000 x 16000 pixels cost a row of memory.
bool WritePhotoJpeg(const std::string& path, int width, int height,
                    const std::function<void(int y, std::uint8_t* row)>& fillRow);

// The colour order a decode hands out; the library's default is red, green, blue.
enum ColourOrder { kRgb, kBgr };

// Decodes the whole picture at full resolution, one scanline at a time, and keeps nothing:
// the least any loader of that file has to spend. False if the file cannot be opened.
bool BareDecode(const std::string& path, ColourOrder order);

}  // namespace glimmora::bench
