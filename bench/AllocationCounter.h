// Counts heap allocations of the whole process through a replaced global operator new. The two
// libraries are shared objects that take operator new from the executable, so their allocations are
// counted too. Threads of the benchmark's own peers opt out, so a count shows what the libraries (and
// the thread calling them) allocate.
#pragma once

#include <cstdint>

namespace narv_bench {

// Allocations made so far by threads that count.
std::uint64_t AllocationCount();

// Stops (or resumes) counting allocations made by the calling thread: a peer or sender of the
// benchmark, or the benchmark's own thread while it does bookkeeping.
void ExcludeThisThreadFromAllocationCount(bool excluded = true);

}  // namespace narv_bench
