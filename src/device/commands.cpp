#include "device/commands.h"

#include "device/feature_report.h"

#include <algorithm>

namespace orvo {

namespace {

// Bytes of the lighting report; responses mirror the write layout.
constexpr std::size_t kEffectByte = 3;
constexpr std::size_t kSpeedByte = 4;
constexpr std::size_t kBrightnessByte = 5;
constexpr std::size_t kColourByte = 6;
constexpr std::size_t kDirectionByte = 7;
constexpr std::size_t kRgbFirstByte = 4;

// Request, optional pause, fetch, optional pause.
bool Request(CommandChannel& ch, const FeatureReport& request, int pauseBefore, int pauseAfter,
             FeatureBuffer& response) {
    bool ok = SendFeature(ch, request.bytes);
    if (pauseBefore >= 0)
        ch.pacer.Sleep(pauseBefore);
    ok = GetFeatureResponse(ch, response) && ok;
    if (pauseAfter >= 0)
        ch.pacer.Sleep(pauseAfter);
    return ok;
}

constexpr int kNoPause = -1;

} // namespace

bool SendFeature(CommandChannel& ch, const FeatureBuffer& report) {
    return ch.device.SetFeature(report);
}

bool GetFeatureResponse(CommandChannel& ch, FeatureBuffer& response) {
    response.fill(0);
    const bool ok = ch.device.GetFeature(response);
    if (!ok)
        response.fill(0); // a failed fetch stores zeros, never stale bytes
    return ok;
}

bool ReadFirmwareVersion(CommandChannel& ch, FirmwareResponse& response) {
    FeatureBuffer r;
    const bool ok = Request(ch, MakeFeatureReport(cmd::kReadFirmwareVersion), pause::kCommon,
                            pause::kCommon, r);
    std::copy(r.begin() + 1, r.end(), response.begin());
    return ok;
}

bool ReadFirmwareVersion(CommandChannel& ch, FirmwareVersion& version) {
    FirmwareResponse r{};
    const bool ok = ReadFirmwareVersion(ch, r);
    version.bytes = {r[0], r[1], 0, 0};
    return ok;
}

bool ReadReportRate(CommandChannel& ch, SettingsImage& image) {
    FeatureBuffer r;
    const bool ok =
        Request(ch, MakeFeatureReport(cmd::kReadReportRate), pause::kCommon, pause::kCommon, r);
    image.byte(field::reportRate) = r[kValueByte];
    return ok;
}

bool WriteReportRate(CommandChannel& ch, const SettingsImage& image) {
    const bool ok = SendFeature(
        ch, MakeFeatureReport(cmd::kWriteReportRate, {{kValueByte, image.byte(field::reportRate)}})
                .bytes);
    ch.pacer.Sleep(pause::kCommon);
    return ok;
}

bool ReadResponseTime(CommandChannel& ch, SettingsImage& image) {
    FeatureBuffer r;
    const bool ok =
        Request(ch, MakeFeatureReport(cmd::kReadResponseTime), pause::kCommon, pause::kCommon, r);
    image.byte(field::responseTime) = r[kValueByte]; // stored as the keyboard reports it
    return ok;
}

bool WriteResponseTime(CommandChannel& ch, const SettingsImage& image) {
    const auto value = static_cast<std::uint8_t>(image.byte(field::responseTime) + 1);
    const bool ok =
        SendFeature(ch, MakeFeatureReport(cmd::kWriteResponseTime, {{kValueByte, value}}).bytes);
    ch.pacer.Sleep(pause::kCommon);
    return ok;
}

bool ReadPalmRestLighting(CommandChannel& ch, SettingsImage& image) {
    FeatureBuffer r;
    const bool ok = Request(ch, MakeFeatureReport(cmd::kReadPalmRestLighting),
                            pause::kPalmRestReadRequest, pause::kPalmRestReadResponse, r);
    std::copy(r.begin() + 1, r.end(), image[field::palmRest].begin());
    return ok;
}

bool WritePalmRestLighting(CommandChannel& ch, SettingsImage& image) {
    image.byte(field::palmRest, palm::command) = cmd::kWritePalmRestLighting;
    const auto block = image[field::palmRest];
    return SendFeature(ch, MakePalmRestReport(block.first<8>()).bytes);
}

bool ReadLightingEffect(CommandChannel& ch, SettingsImage& image) {
    FeatureBuffer r;
    const bool ok =
        Request(ch, MakeFeatureReport(cmd::kReadLightingEffect), pause::kCommon, kNoPause, r);
    image.byte(field::lightingEffect) = r[kEffectByte];
    image.byte(field::lightingSpeed) = SpeedDeviceToPosition(r[kSpeedByte]);
    image.byte(field::lightingBrightness) = r[kBrightnessByte];
    image.byte(field::lightingColour) = r[kColourByte];
    image.byte(field::lightingDirection) = r[kDirectionByte];
    return ok;
}

bool WriteLightingEffect(CommandChannel& ch, const SettingsImage& image, std::uint8_t subCode) {
    const std::uint8_t brightness =
        subCode == kLightingSubCodeFull ? image.byte(field::lightingBrightness) : 0;
    const std::uint8_t speed = SpeedPositionToDevice(image.byte(field::lightingSpeed));
    const FeatureReport r = MakeFeatureReport(
        cmd::kWriteLightingEffect, {{kValueByte, subCode},
                                    {kEffectByte, image.byte(field::lightingEffect)},
                                    {kSpeedByte, speed},
                                    {kBrightnessByte, brightness},
                                    {kColourByte, image.byte(field::lightingColour)},
                                    {kDirectionByte, image.byte(field::lightingDirection)}});
    const bool ok = SendFeature(ch, r.bytes);
    ch.pacer.Sleep(pause::kCommon);
    return ok;
}

bool ReadGameMode(CommandChannel& ch, SettingsImage& image) {
    FeatureBuffer r;
    const bool ok =
        Request(ch, MakeFeatureReport(cmd::kReadGameMode), pause::kGameModeRead, kNoPause, r);
    image.byte(field::gameMode) = r[kValueByte];
    return ok;
}

bool WriteGameMode(CommandChannel& ch, std::uint8_t value) {
    const bool ok =
        SendFeature(ch, MakeFeatureReport(cmd::kWriteGameMode, {{kValueByte, value}}).bytes);
    ch.pacer.Sleep(pause::kSlowWrite);
    return ok;
}

bool WriteGameModeFromImage(CommandChannel& ch, SettingsImage& image) {
    const bool ok = WriteGameMode(ch, image.byte(field::gameMode));
    ApplyWinLockToMask(image);
    return ok;
}

bool ReadColourSlot(CommandChannel& ch, SettingsImage& image, std::size_t slot) {
    if (slot >= kColourSlotCount)
        return false;
    FeatureBuffer r;
    const bool ok = Request(
        ch,
        MakeFeatureReport(cmd::kReadColourSlot, {{kIndexByte, static_cast<std::uint8_t>(slot)}}),
        pause::kColourSlotRead, pause::kColourSlotRead, r);
    std::copy_n(r.begin() + kRgbFirstByte, 3, image[field::colourSlots].begin() + 3 * slot);
    return ok;
}

bool WriteColourSlot(CommandChannel& ch, const SettingsImage& image, std::size_t slot) {
    if (slot >= kColourSlotCount)
        return false;
    const auto rgb = image[field::colourSlots].subspan(3 * slot, 3);
    const bool ok = SendFeature(
        ch, MakeFeatureReport(cmd::kWriteColourSlot, {{kIndexByte, static_cast<std::uint8_t>(slot)},
                                                      {kRgbFirstByte, rgb[0]},
                                                      {kRgbFirstByte + 1, rgb[1]},
                                                      {kRgbFirstByte + 2, rgb[2]}})
                .bytes);
    ch.pacer.Sleep(pause::kSlowWrite);
    return ok;
}

bool ResetToFactoryDefaults(CommandChannel& ch) {
    bool ok = SendFeature(
        ch, MakeFeatureReport(cmd::kResetToFactoryDefaults, {{kValueByte, kFactoryResetParameter}})
                .bytes);
    ch.pacer.Sleep(pause::kFactoryReset);
    for (int i = 0; i < 2; ++i) {
        ok = WriteGameMode(ch, 1) && ok;
        ch.pacer.Sleep(pause::kFactoryReset);
    }
    return ok;
}

} // namespace orvo
