// The tools' operator new: a block of several megabytes (the component's store and index lists
// when hundreds of thousands of items are loaded) is backed by transparent huge pages where Linux
// offers them on request. Filling such a store from 4 KB pages takes one page fault per 4 KB,
// which on a virtual machine costs more than everything else the load does; one per 2 MB does
// not. Linked into the tool programs only: the component leaves memory to its host.
#include <cstdlib>
#include <new>

#include "platform/Platform.h"

namespace {

void* Allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (block) plat::AdviseLargePages(block, size);
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
