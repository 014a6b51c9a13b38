#pragma once

#include <cstddef>

namespace bench {

// How many times operator new has run in this program so far. A benchmark that links
// AllocationCounter.cpp replaces the global operator new with a counting one.
size_t allocationCount();

}  // namespace bench
