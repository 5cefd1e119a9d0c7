#include "device/read_back.h"

#include "device/table_transfers.h"

namespace orvo {

namespace {

constexpr int kYieldAfterMacroBlock = 0;

// Every value and table after the firmware version, into `image`.
bool ReadEverything(CommandChannel& ch, SettingsImage& image, bool yieldAfterMacroBlocks) {
    bool ok = ReadLightingEffect(ch, image);
    for (std::size_t slot = 0; slot < kColourSlotCount; ++slot)
        ok = ReadColourSlot(ch, image, slot) && ok;
    ok = ReadGameMode(ch, image) && ok;
    ok = ReadReportRate(ch, image) && ok;
    ok = ReadResponseTime(ch, image) && ok;
    ok = ReadKeyMap(ch, image) && ok;
    ok = ReadKeyEnableMask(ch, image) && ok;
    for (std::size_t n = 0; n < kMacroBlockCount; ++n) {
        ok = ReadMacroBlock(ch, image, n) && ok;
        if (yieldAfterMacroBlocks)
            ch.pacer.Sleep(kYieldAfterMacroBlock);
    }
    for (std::size_t t = 0; t < kCustomLightingTableCount; ++t)
        ok = ReadCustomLightingTable(ch, image, t) && ok;
    ok = ReadPalmRestLighting(ch, image) && ok;
    return ok;
}

} // namespace

// Both read into a copy and keep it only when every transfer worked: a keyboard that vanished
// halfway must not overwrite the values loaded from "keymap.bin" with zeros.
bool ReadBackSequence(CommandChannel& ch, SettingsImage& image, FirmwareVersion& firmware) {
    SettingsImage read = image;
    FirmwareVersion version;
    bool ok = WriteGameMode(ch, 1);
    ok = ReadFirmwareVersion(ch, version) && ok;
    ok = ReadEverything(ch, read, true) && ok;
    if (ok) {
        image = read;
        firmware = version;
    }
    return ok;
}

bool FullReadBack(CommandChannel& ch, SettingsImage& image) {
    SettingsImage read = image;
    bool ok = WriteGameMode(ch, 1);
    ch.pacer.Sleep(pause::kAfterGameModeBeforeReadBack);
    ok = ReadEverything(ch, read, false) && ok;
    if (ok)
        image = read;
    return ok;
}

bool ReadKeyboardValues(CommandChannel& ch, SettingsImage& image) {
    SettingsImage read = image;
    const bool ok = ReadEverything(ch, read, false);
    if (ok)
        image = read;
    return ok;
}

} // namespace orvo
