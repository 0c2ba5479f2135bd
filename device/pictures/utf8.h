// UTF-8 <-> wide text for hosts whose file names are bytes. Bytes that are not UTF-8 travel
// as U+DC80..U+DCFF and come back as the same bytes, so every host path survives the trip.
#pragma once

#include <string>

namespace glimmora::device {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace glimmora::device
