#pragma once
// The 9-byte feature report every keyboard command travels in:
//   byte 0     report ID, always 0
//   byte 1     command code (bit 7 set: read request for the same data)
//   bytes 2..7 parameters, 0 where a command uses none
//   byte 8     checksum: 0xFF minus the 8-bit sum of bytes 1..7
// The palm-rest write is the exception: bytes 1..8 carry its 8-byte block, no checksum.

#include "device/hid.h"

#include <cstdint>
#include <initializer_list>
#include <span>

namespace orvo {

namespace cmd {
inline constexpr std::uint8_t kReadFirmwareVersion = 0x80;
inline constexpr std::uint8_t kReadReportRate = 0x81;
inline constexpr std::uint8_t kWriteReportRate = 0x01;
inline constexpr std::uint8_t kReadResponseTime = 0x84;
inline constexpr std::uint8_t kWriteResponseTime = 0x04;
inline constexpr std::uint8_t kReadPalmRestLighting = 0x87;
inline constexpr std::uint8_t kWritePalmRestLighting = 0x07;
inline constexpr std::uint8_t kReadLightingEffect = 0x88;
inline constexpr std::uint8_t kWriteLightingEffect = 0x08;
inline constexpr std::uint8_t kReadGameMode = 0x89;
inline constexpr std::uint8_t kWriteGameMode = 0x09;
inline constexpr std::uint8_t kReadColourSlot = 0x94;
inline constexpr std::uint8_t kWriteColourSlot = 0x14;
inline constexpr std::uint8_t kResetToFactoryDefaults = 0x13;
inline constexpr std::uint8_t kReadKeyMap = 0x8D;
inline constexpr std::uint8_t kWriteKeyMap = 0x0D;
inline constexpr std::uint8_t kReadKeyEnableMask = 0x8E;
inline constexpr std::uint8_t kWriteKeyEnableMask = 0x0E;
inline constexpr std::uint8_t kReadMacroBlock = 0x91;
inline constexpr std::uint8_t kWriteMacroBlock = 0x11;
inline constexpr std::uint8_t kReadCustomLightingTable = 0x92;
inline constexpr std::uint8_t kWriteCustomLightingTable = 0x12;

inline constexpr std::uint8_t kReadFlag = 0x80; // read requests are the write code | 0x80
} // namespace cmd

// Sub-codes of the lighting write: 1 sends the values with brightness 0, 2 the full values.
inline constexpr std::uint8_t kLightingSubCodeDimmed = 1;
inline constexpr std::uint8_t kLightingSubCodeFull = 2;
// Parameter of the factory reset command.
inline constexpr std::uint8_t kFactoryResetParameter = 0xFF;

// Parameter bytes several commands share: a single value, a table index or colour slot, and
// the number of bulk packets that follow.
inline constexpr std::size_t kValueByte = 2;
inline constexpr std::size_t kIndexByte = 3;
inline constexpr std::size_t kCountByte = 4;
inline constexpr std::size_t kChecksumByte = 8;

// 0xFF minus the 8-bit sum of bytes 1..7.
constexpr std::uint8_t FeatureChecksum(std::span<const std::uint8_t, kFeatureReportSize> r) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < kChecksumByte; ++i)
        sum += r[i];
    return static_cast<std::uint8_t>(0xFF - (sum & 0xFF));
}

struct FeatureReport {
    FeatureBuffer bytes{};

    std::uint8_t code() const { return bytes[1]; }
    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
};
static_assert(sizeof(FeatureReport) == kFeatureReportSize);

// One parameter byte by its position in the report.
struct ReportByte {
    std::size_t index; // 2..7; others are ignored
    std::uint8_t value;
};
// A command with its parameters (bytes not named are 0) and its checksum:
// MakeFeatureReport(cmd::kReadColourSlot, {{3, slot}}).
FeatureReport MakeFeatureReport(std::uint8_t code, std::initializer_list<ReportByte> params = {});

// The palm-rest write: its 8-byte block in bytes 1..8, byte 1 forced to the command code.
FeatureReport MakePalmRestReport(std::span<const std::uint8_t, 8> block);

} // namespace orvo
