// Live and peak heap bytes of this process, counted by standing in for malloc and friends
// (forwarded to glibc's own), so the libraries' allocations are counted too.
#pragma once

#include <cstddef>

namespace glimmora::bench {

std::size_t HeapLiveBytes();
std::size_t HeapPeakBytes();
// Starts a new peak from what is live now.
void ResetHeapPeak();

}  // namespace glimmora::bench
