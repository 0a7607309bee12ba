// The tools' operator new: a block of several megabytes (the component's store and index lists
// when hundreds of thousands of items are loaded) is backed by transparent huge pages where Linux
// offers them on request. Filling such a store from 4 KB pages takes one page fault per 4 KB,
// which on a virtual machine costs more than everything else the load does; one per 2 MB does
// not. Linked into the tool programs only: the component leaves memory to its host.
//
// Even so the first touch of memory the host has not backed yet (or took back once it was
// freed) costs about a millisecond per 2 MB on these machines: 0.26 s for the 214 MB record
// array of 300k items with their aliases. The first users of blocks that large touch them whole
// anyway (the record array is constructed at once, the slot table filled up), so two threads
// touch such a block first, half each.
#include <cstdlib>
#include <new>
#include <system_error>
#include <thread>

#include "platform/Platform.h"

namespace {

const std::size_t kTouchedByTwoAtLeast = std::size_t(16) << 20;

void Touch(char* begin, char* end) {
  const std::size_t kPage = 4096;
  for (char* page = begin; page < end; page += kPage) *static_cast<volatile char*>(page) = 0;
}

void TouchByTwo(void* block, std::size_t size) {
  char* begin = static_cast<char*>(block);
  char* middle = begin + size / 2;
  try {
    std::thread other(Touch, middle, begin + size);
    Touch(begin, middle);
    other.join();
  } catch (const std::system_error&) {
    Touch(begin, begin + size);  // no second thread: the caller touches it all, as it would
  }
}

void* Allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) return nullptr;
  plat::AdviseLargePages(block, size);
  if (size >= kTouchedByTwoAtLeast) TouchByTwo(block, size);
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
