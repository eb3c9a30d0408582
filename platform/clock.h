// A monotonic clock for measuring intervals (throttled redraws, benchmarks).
#pragma once

#include <cstdint>

namespace velmo::platform {

// Microseconds since an arbitrary start; never goes back.
std::int64_t MonotonicMicroseconds();

}  // namespace velmo::platform
