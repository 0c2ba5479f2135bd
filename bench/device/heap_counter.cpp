#include "bench/device/heap_counter.h"

#include <malloc.h>

#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {
// Single-threaded benchmark: plain counters.
std::size_t g_live = 0;
std::size_t g_peak = 0;

void Added(void* p) {
    if (!p) return;
    g_live += malloc_usable_size(p);
    if (g_live > g_peak) g_peak = g_live;
}
void Removed(void* p) {
    if (p) g_live -= malloc_usable_size(p);
}
}  // namespace

namespace glimmora::bench {
std::size_t HeapLiveBytes() { return g_live; }
std::size_t HeapPeakBytes() { return g_peak; }
void ResetHeapPeak() { g_peak = g_live; }
}  // namespace glimmora::bench

extern "C" {

void* malloc(size_t size) {
    void* p = __libc_malloc(size);
    Added(p);
    return p;
}

void* calloc(size_t count, size_t size) {
    void* p = __libc_calloc(count, size);
    Added(p);
    return p;
}

void* realloc(void* old, size_t size) {
    const std::size_t before = old ? malloc_usable_size(old) : 0;
    void* p = __libc_realloc(old, size);
    if (p) {
        g_live -= before;
        Added(p);
    } else if (size == 0) {
        g_live -= before;
    }
    return p;
}

void free(void* p) {
    Removed(p);
    __libc_free(p);
}

void* memalign(size_t alignment, size_t size) {
    void* p = __libc_memalign(alignment, size);
    Added(p);
    return p;
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size) {
    void* p = __libc_memalign(alignment, size);
    if (!p) return ENOMEM;
    Added(p);
    *out = p;
    return 0;
}

}  // extern "C"
