// <chrono> has a literal that CP932 cannot hold (the micro sign), so this file alone is
// compiled with a UTF-8 execution character set (see CMakeLists.txt) and keeps no text.
#include "platform/clock.h"

#include <chrono>

namespace velmo::platform {

std::int64_t MonotonicMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace velmo::platform
