#pragma once
// Explicit byte-order helpers for the file and device layouts. Fields are read and written
// byte by byte so that no layout depends on the host's endianness or struct packing.

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvo {

constexpr std::uint16_t ReadLe16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
constexpr void WriteLe16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
constexpr std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{ReadLe16(b, at)} | std::uint32_t{ReadLe16(b, at + 2)} << 16;
}
constexpr void WriteLe32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
    WriteLe16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    WriteLe16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
constexpr std::uint16_t ReadBe16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}
constexpr void WriteBe16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

} // namespace orvo
