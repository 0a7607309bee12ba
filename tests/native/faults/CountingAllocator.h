// The test program's global operator new and delete: they count every allocation and can make
// chosen ones fail, as a process that runs out of memory sees it (std::bad_alloc from a throwing
// new, null from a nothrow one). Only this program replaces them; the code under test is the
// component's own.
#pragma once

#include <cstdint>

namespace counting_allocator {

// How an armed allocator fails: the nth allocation alone, or the nth and every one after it
// until it is disarmed (memory that stays short).
enum class FailMode { kOnlyNth, kFromNthOn };

// Counts allocations from 1 again and fails allocation `nth` as the mode says; 0 fails none.
void Arm(uint64_t nth, FailMode mode = FailMode::kOnlyNth);
// Stops failing; the counts stay readable.
void Disarm();
// Allocations asked for since the last Arm (failed ones included), and how many of them failed.
uint64_t Allocations();
uint64_t Failures();
// Allocations made and not yet freed, over the whole program.
int64_t LiveBlocks();

}  // namespace counting_allocator
