#pragma once

#include <chrono>

// The module's line: 1200 baud, 10 bits a byte (start, 8 data, stop).
inline constexpr int LineBaud = 1200;
inline constexpr auto LineByteTime = std::chrono::microseconds(1'000'000 * 10 / LineBaud);  // 8333 µs
