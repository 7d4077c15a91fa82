#pragma once

#include <QString>

#include <cstdint>

namespace toolkit {

// Milliseconds of a monotonic clock, 32 bits, wrapping after about 49.7 days.
std::uint32_t TickNow();

// True once Now has reached Deadline, also across the wrap of the counter
// (the two are taken to lie within about 24 days of each other).
constexpr bool TickReached(std::uint32_t now, std::uint32_t deadline)
{
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

// The full path of the running executable.
QString ProgramPath();

} // namespace toolkit
