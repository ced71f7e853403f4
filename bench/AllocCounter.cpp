// Counts heap allocations by standing in for the C library's allocator entry points; the
// memory itself still comes from the C library.
#include <malloc.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}

namespace {
std::atomic<long> g_nAllocations{0};
}

extern "C" void* malloc(size_t p_nSize) {
    g_nAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(p_nSize);
}

extern "C" void* calloc(size_t p_nCount, size_t p_nSize) {
    g_nAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(p_nCount, p_nSize);
}

extern "C" void* realloc(void* p_pOld, size_t p_nSize) {
    g_nAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p_pOld, p_nSize);
}

namespace bench {
long allocations() {
    return g_nAllocations.load();
}
}  // namespace bench
