// Counts every global operator new in the process, so a benchmark can show none happen per block.
#pragma once

#include <cstdint>

std::uint64_t AllocationCount();
