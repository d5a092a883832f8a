#pragma once
// Waits measured on the system's millisecond tick count (GetTickCount), which wraps to 0 after
// 49.7 days. Two readings are compared by their signed distance, never by their values, so a
// wait that straddles the wrap still ends on time.

#include <cstdint>

namespace varnel {

// Milliseconds from `now` to `deadline`; 0 or less once it has come.
constexpr std::int32_t TicksUntil(std::uint32_t now, std::uint32_t deadline) {
  return static_cast<std::int32_t>(deadline - now);
}

// Whether `now` is past `deadline` (at the deadline itself it is not yet).
constexpr bool TickPassed(std::uint32_t now, std::uint32_t deadline) {
  return static_cast<std::int32_t>(now - deadline) > 0;
}

}  // namespace varnel
