// Report descriptors come from the kernel for whatever device is attached: parse anything.

#include "device/report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orvo::DescriptorSummary s =
        orvo::SummariseReportDescriptor(std::span<const std::uint8_t>(data, size));
    (void)orvo::BuildMatchText(0x04D9, 0xA12E, 3, s.topLevelCollections);
    return 0;
}
