// The tools' operator new: a block of several megabytes (the component's store and index lists
// when hundreds of thousands of items are loaded) is backed by transparent huge pages where Linux
// offers them on request. Filling such a store from 4 KB pages takes one page fault per 4 KB,
// which on a virtual machine costs more than everything else the load does; one per 2 MB does
// not. Linked into the tool programs only: the component leaves memory to its host.
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>

#include <cstdint>
#endif

namespace {

void* Allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
#ifdef __linux__
  const std::size_t kHugePage = std::size_t(2) << 20;
  if (block && size >= 2 * kHugePage) {
    // Only whole huge pages inside the block; malloc serves such sizes from a mapping of their own.
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
  return block;
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
