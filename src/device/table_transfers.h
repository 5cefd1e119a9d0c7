#pragma once
// The four tables too large for a feature report move as an announce report followed by
// 65-byte packets on the command interface. Packet k carries table bytes 64k..64k+63.

#include "device/commands.h"

#include <cstddef>

namespace orvo {

inline constexpr std::size_t kBulkPayloadSize = kBulkPacketSize - 1;
inline constexpr std::size_t kKeyMapPackets = 8;
inline constexpr std::size_t kKeyEnableMaskPackets = 1;
inline constexpr std::size_t kMacroBlockPackets = 3;
inline constexpr std::size_t kCustomLightingTablePackets = 8;
inline constexpr std::uint8_t kKeyEnableMaskByteCount = 0x15;

// How long a bulk read may wait for its packet before it counts as failed.
inline constexpr int kBulkReadTimeoutMs = 1000;

bool ReadKeyMap(CommandChannel& ch, SettingsImage& image);
bool WriteKeyMap(CommandChannel& ch, const SettingsImage& image);
// Also derives winLock: 1 when the Windows key's bit came back 0.
bool ReadKeyEnableMask(CommandChannel& ch, SettingsImage& image);
bool WriteKeyEnableMask(CommandChannel& ch, const SettingsImage& image);
bool ReadMacroBlock(CommandChannel& ch, SettingsImage& image, std::size_t block);
bool WriteMacroBlock(CommandChannel& ch, const SettingsImage& image, std::size_t block);
bool ReadCustomLightingTable(CommandChannel& ch, SettingsImage& image, std::size_t table);
bool WriteCustomLightingTable(CommandChannel& ch, const SettingsImage& image, std::size_t table);

} // namespace orvo
