#pragma once
// The transfer trace shared by the simulator's trace.log and `orvoctl --trace`:
//   <ms> <op> <bytes>   ms since the trace started, op set/get/write/read/input (or error),
//                       every byte as two lowercase hex digits separated by single spaces.

#include "device/hid.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orvo {

namespace trace_op {
inline constexpr std::string_view kSet = "set";
inline constexpr std::string_view kGet = "get";
inline constexpr std::string_view kWrite = "write";
inline constexpr std::string_view kRead = "read";
inline constexpr std::string_view kInput = "input";
// Written by the simulated keyboard for a report it dropped: a wrong checksum, or an answer or
// packet whose sequence another process's transfers broke into.
inline constexpr std::string_view kError = "error";
} // namespace trace_op

// One line, ending in '\n'.
std::string FormatTraceLine(long long ms, std::string_view op, std::span<const std::uint8_t> bytes);

// Wraps an open interface and writes a trace line to `out` for each transfer that succeeded.
// Reads on the input interface (4-byte buffers) are traced as "input".
std::unique_ptr<HidDevice> MakeTracingDevice(std::unique_ptr<HidDevice> inner, std::FILE* out,
                                             std::chrono::steady_clock::time_point start);

// Wraps a bus so that every interface it opens is traced to `out`.
std::unique_ptr<HidBus> MakeTracingBus(std::unique_ptr<HidBus> inner, std::FILE* out);

} // namespace orvo
