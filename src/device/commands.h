#pragma once
// One routine per keyboard command. Each sends its request on the command interface, pauses
// as the keyboard needs, stores what it reads in the settings image and returns whether every
// HID call of the routine succeeded. A failed read stores zeros for the bytes it would have
// read (the response buffer is cleared before each fetch); the sequence it belongs to goes on.

#include "device/hid.h"
#include "device/pacer.h"
#include "model/settings_image.h"

#include <array>
#include <cstdint>

namespace orvo {

// The command interface and the pacer its pauses go through. Holders of a channel own the
// command interface for the duration of a sequence (see DeviceConnection).
struct CommandChannel {
    HidDevice& device;
    Pacer& pacer;
};

// Lowest-level steps every command is made of.
bool SendFeature(CommandChannel& ch, const FeatureBuffer& report);
// Fetches a response into a zero-filled buffer (report ID 0).
bool GetFeatureResponse(CommandChannel& ch, FeatureBuffer& response);

// Pauses of the commands, in milliseconds.
namespace pause {
inline constexpr int kCommon = 10;
inline constexpr int kGameModeRead = 5;
inline constexpr int kColourSlotRead = 1;
inline constexpr int kSlowWrite = 20; // colour slot and game mode writes
inline constexpr int kPalmRestReadRequest = 20;
inline constexpr int kPalmRestReadResponse = 100;
inline constexpr int kFactoryReset = 300;
inline constexpr int kAfterGameModeBeforeReadBack = 10;
} // namespace pause

using FirmwareResponse = std::array<std::uint8_t, 8>; // response bytes 1..8

bool ReadFirmwareVersion(CommandChannel& ch, FirmwareResponse& response);
// ReadFirmwareVersion kept as the program keeps it: major, minor, 0, 0.
bool ReadFirmwareVersion(CommandChannel& ch, FirmwareVersion& version);
bool ReadReportRate(CommandChannel& ch, SettingsImage& image);
bool WriteReportRate(CommandChannel& ch, const SettingsImage& image);
bool ReadResponseTime(CommandChannel& ch, SettingsImage& image);
bool WriteResponseTime(CommandChannel& ch, const SettingsImage& image);
bool ReadPalmRestLighting(CommandChannel& ch, SettingsImage& image);
bool WritePalmRestLighting(CommandChannel& ch, SettingsImage& image); // sets palmRest[0] = 7
bool ReadLightingEffect(CommandChannel& ch, SettingsImage& image);
bool WriteLightingEffect(CommandChannel& ch, const SettingsImage& image, std::uint8_t subCode);
bool ReadGameMode(CommandChannel& ch, SettingsImage& image);
// Sends `value` as the game mode. With the image's own value the Windows-key bit rule follows
// (WriteGameModeFromImage); the read-back and the factory reset send the constant 1.
bool WriteGameMode(CommandChannel& ch, std::uint8_t value);
bool WriteGameModeFromImage(CommandChannel& ch, SettingsImage& image);
bool ReadColourSlot(CommandChannel& ch, SettingsImage& image, std::size_t slot);
bool WriteColourSlot(CommandChannel& ch, const SettingsImage& image, std::size_t slot);
// 0x13 and the two game-mode writes that follow it, with their pauses.
bool ResetToFactoryDefaults(CommandChannel& ch);

} // namespace orvo
