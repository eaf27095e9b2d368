// Counts every global operator new in the process, so that a test or a benchmark can show that
// a stretch of work allocates nothing: compare AllocationCount() before and after it.
#pragma once

#include <cstdint>

std::uint64_t AllocationCount();
