// Opens a picture by its wide-character path for reading, as the decoder's stdio source.
#pragma once

#include <cstdio>

namespace glimmora::device {

// nullptr when the file cannot be opened.
std::FILE* OpenPictureFile(const wchar_t* path);

}  // namespace glimmora::device
