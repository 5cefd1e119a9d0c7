#include "device/table_transfers.h"

#include "device/feature_report.h"

#include <algorithm>

namespace orvo {

namespace {

constexpr int kKeyMapWriteBefore = 50;
constexpr int kKeyMapWriteAfter = 60;
constexpr int kMaskWriteBefore = 10;
constexpr int kMacroWriteBefore = 1;
constexpr int kMacroBetweenPackets = 0;
constexpr int kLightingTablePause = 5;

// Reads one packet into `dest` (up to 64 payload bytes). A failed read stores zeros.
bool ReadPacket(CommandChannel& ch, std::span<std::uint8_t> dest) {
    BulkPacket packet{};
    const ReadResult r = ch.device.Read(packet, kBulkReadTimeoutMs);
    if (!r.ok())
        packet.fill(0);
    std::copy_n(packet.begin() + 1, std::min(dest.size(), kBulkPayloadSize), dest.begin());
    return r.ok();
}

bool WritePacket(CommandChannel& ch, std::span<const std::uint8_t> payload) {
    BulkPacket packet{};
    std::copy_n(payload.begin(), std::min(payload.size(), kBulkPayloadSize), packet.begin() + 1);
    return ch.device.Write(packet);
}

// Announce, fetch and drop the response.
bool Announce(CommandChannel& ch, const FeatureReport& announce) {
    FeatureBuffer ignored;
    const bool sent = SendFeature(ch, announce.bytes);
    return GetFeatureResponse(ch, ignored) && sent;
}

std::span<const std::uint8_t> Packet(std::span<const std::uint8_t> table, std::size_t k) {
    return table.subspan(k * kBulkPayloadSize, kBulkPayloadSize);
}
std::span<std::uint8_t> Packet(std::span<std::uint8_t> table, std::size_t k) {
    return table.subspan(k * kBulkPayloadSize, kBulkPayloadSize);
}

} // namespace

bool ReadKeyMap(CommandChannel& ch, SettingsImage& image) {
    bool ok = Announce(ch, MakeFeatureReport(cmd::kReadKeyMap));
    for (std::size_t k = 0; k < kKeyMapPackets; ++k)
        ok = ReadPacket(ch, Packet(image[field::keyMap], k)) && ok;
    return ok;
}

bool WriteKeyMap(CommandChannel& ch, const SettingsImage& image) {
    bool ok =
        SendFeature(ch, MakeFeatureReport(cmd::kWriteKeyMap,
                                          {{kCountByte, static_cast<std::uint8_t>(kKeyMapPackets)}})
                            .bytes);
    ch.pacer.Sleep(kKeyMapWriteBefore);
    for (std::size_t k = 0; k < kKeyMapPackets; ++k)
        ok = WritePacket(ch, Packet(image[field::keyMap], k)) && ok;
    ch.pacer.Sleep(kKeyMapWriteAfter);
    return ok;
}

bool ReadKeyEnableMask(CommandChannel& ch, SettingsImage& image) {
    bool ok = Announce(
        ch, MakeFeatureReport(cmd::kReadKeyEnableMask, {{kCountByte, kKeyEnableMaskByteCount}}));
    BulkPacket packet{};
    const ReadResult r = ch.device.Read(packet, kBulkReadTimeoutMs);
    if (!r.ok())
        packet.fill(0);
    ok = r.ok() && ok;
    std::copy_n(packet.begin() + 1, field::keyEnableMask.size, image[field::keyEnableMask].begin());
    UpdateWinLockFromMask(image);
    return ok;
}

bool WriteKeyEnableMask(CommandChannel& ch, const SettingsImage& image) {
    bool ok = SendFeature(
        ch,
        MakeFeatureReport(cmd::kWriteKeyEnableMask, {{kCountByte, kKeyEnableMaskByteCount}}).bytes);
    ch.pacer.Sleep(kMaskWriteBefore);
    // The 21 mask bytes, then zeros up to the packet's end.
    ok = WritePacket(ch, image[field::keyEnableMask]) && ok;
    return ok;
}

bool ReadMacroBlock(CommandChannel& ch, SettingsImage& image, std::size_t block) {
    if (block >= kMacroBlockCount)
        return false;
    bool ok = Announce(ch, MakeFeatureReport(cmd::kReadMacroBlock,
                                             {{kIndexByte, static_cast<std::uint8_t>(block)}}));
    for (std::size_t k = 0; k < kMacroBlockPackets; ++k)
        ok = ReadPacket(ch, Packet(image.macroBlock(block), k)) && ok;
    return ok;
}

bool WriteMacroBlock(CommandChannel& ch, const SettingsImage& image, std::size_t block) {
    if (block >= kMacroBlockCount)
        return false;
    // Sent from a copy taken now, so the packets agree with each other.
    std::array<std::uint8_t, kMacroBlockSize> copy{};
    std::ranges::copy(image.macroBlock(block), copy.begin());
    bool ok = SendFeature(
        ch, MakeFeatureReport(cmd::kWriteMacroBlock,
                              {{kIndexByte, static_cast<std::uint8_t>(block)},
                               {kCountByte, static_cast<std::uint8_t>(kMacroBlockPackets)}})
                .bytes);
    ch.pacer.Sleep(kMacroWriteBefore);
    for (std::size_t k = 0; k < kMacroBlockPackets; ++k) {
        if (k > 0)
            ch.pacer.Sleep(kMacroBetweenPackets);
        ok = WritePacket(ch, Packet(std::span<const std::uint8_t>(copy), k)) && ok;
    }
    return ok;
}

bool ReadCustomLightingTable(CommandChannel& ch, SettingsImage& image, std::size_t table) {
    if (table >= kCustomLightingTableCount)
        return false;
    FeatureBuffer ignored;
    bool ok = SendFeature(
        ch,
        MakeFeatureReport(cmd::kReadCustomLightingTable,
                          {{kIndexByte, static_cast<std::uint8_t>(table)},
                           {kCountByte, static_cast<std::uint8_t>(kCustomLightingTablePackets)}})
            .bytes);
    ch.pacer.Sleep(kLightingTablePause);
    ok = GetFeatureResponse(ch, ignored) && ok;
    ch.pacer.Sleep(kLightingTablePause);
    for (std::size_t k = 0; k < kCustomLightingTablePackets; ++k) {
        ok = ReadPacket(ch, Packet(image.customLightingTable(table), k)) && ok;
        ch.pacer.Sleep(kLightingTablePause);
    }
    return ok;
}

bool WriteCustomLightingTable(CommandChannel& ch, const SettingsImage& image, std::size_t table) {
    if (table >= kCustomLightingTableCount)
        return false;
    bool ok = SendFeature(
        ch,
        MakeFeatureReport(cmd::kWriteCustomLightingTable,
                          {{kIndexByte, static_cast<std::uint8_t>(table)},
                           {kCountByte, static_cast<std::uint8_t>(kCustomLightingTablePackets)}})
            .bytes);
    ch.pacer.Sleep(kLightingTablePause);
    for (std::size_t k = 0; k < kCustomLightingTablePackets; ++k) {
        ok = WritePacket(ch, Packet(image.customLightingTable(table), k)) && ok;
        ch.pacer.Sleep(kLightingTablePause);
    }
    return ok;
}

} // namespace orvo
