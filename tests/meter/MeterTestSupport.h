#pragma once

// What the meter's scale and control tests share: the values that are no numbers,
// and a stopwatch for the cases that must not hang.

#include <chrono>
#include <limits>

namespace nvo::test {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

/// Runs `work` and tells how long it took, in seconds.
template<class Work>
double Seconds(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace nvo::test
