#include "CountingAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace counting_allocator {
namespace {

std::atomic<uint64_t> g_allocations{0};
std::atomic<uint64_t> g_failures{0};
std::atomic<uint64_t> g_failAt{0};
std::atomic<bool> g_fromNthOn{false};
std::atomic<int64_t> g_live{0};

bool ShouldFail() {
  const uint64_t n = ++g_allocations;
  const uint64_t at = g_failAt.load();
  if (at == 0 || n < at || (n > at && !g_fromNthOn.load())) return false;
  ++g_failures;
  return true;
}

void* Allocate(std::size_t size, std::size_t alignment) {
  if (ShouldFail()) return nullptr;
  if (size == 0) size = 1;
  void* block = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    block = std::malloc(size);
  } else if (posix_memalign(&block, alignment, size) != 0) {
    block = nullptr;
  }
  if (block) ++g_live;
  return block;
}

void Free(void* block) {
  if (!block) return;
  --g_live;
  std::free(block);
}

}  // namespace

void Arm(uint64_t nth, FailMode mode) {
  g_failAt = 0;
  g_fromNthOn = mode == FailMode::kFromNthOn;
  g_allocations = 0;
  g_failures = 0;
  g_failAt = nth;
}

void Disarm() { g_failAt = 0; }
uint64_t Allocations() { return g_allocations.load(); }
uint64_t Failures() { return g_failures.load(); }
int64_t LiveBlocks() { return g_live.load(); }

}  // namespace counting_allocator

using counting_allocator::Allocate;
using counting_allocator::Free;

namespace {

const std::size_t kPlain = alignof(std::max_align_t);

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  void* block = Allocate(size, alignment);
  if (!block) throw std::bad_alloc();
  return block;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, kPlain);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, kPlain);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete(void* block, std::align_val_t) noexcept { Free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { Free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  Free(block);
}
