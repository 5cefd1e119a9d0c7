#pragma once
// Just enough of a HID report descriptor parser to name an interface the way Windows device
// paths do: how many top-level collections it has and whether its reports carry IDs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvo {

struct DescriptorSummary {
    std::size_t topLevelCollections = 0;
    bool usesReportIds = false;
    bool wellFormed = true; // false when an item ran past the end or collections did not close
};

DescriptorSummary SummariseReportDescriptor(std::span<const std::uint8_t> descriptor);

// "vid_04d9&pid_a12e&mi_03" followed by "&col01", "&col02", ... per top-level collection.
// interfaceNumber < 0 (not a USB device) leaves out the "mi_" part.
std::string BuildMatchText(std::uint16_t vendorId, std::uint16_t productId, int interfaceNumber,
                           std::size_t topLevelCollections);

} // namespace orvo
