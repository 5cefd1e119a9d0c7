#include "device/report_descriptor.h"

#include <cstdio>

namespace orvo {

namespace {

// Item prefixes: bits 0-1 size code, bits 2-3 type, bits 4-7 tag.
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;
constexpr std::uint8_t kTagCollection = 0xA;
constexpr std::uint8_t kTagEndCollection = 0xC;
constexpr std::uint8_t kTagReportId = 0x8;

constexpr std::size_t DataSize(std::uint8_t prefix) {
    const std::size_t code = prefix & 0x03;
    return code == 3 ? 4 : code;
}

} // namespace

DescriptorSummary SummariseReportDescriptor(std::span<const std::uint8_t> d) {
    DescriptorSummary s;
    std::size_t depth = 0;
    std::size_t i = 0;
    while (i < d.size()) {
        const std::uint8_t prefix = d[i];
        if (prefix == kLongItemPrefix) {
            // Long item: size byte, tag byte, then the data. Nothing we look for.
            if (i + 1 >= d.size()) {
                s.wellFormed = false;
                break;
            }
            i += 3 + std::size_t{d[i + 1]};
            continue;
        }
        const std::size_t size = DataSize(prefix);
        if (i + 1 + size > d.size()) {
            s.wellFormed = false;
            break;
        }
        const std::uint8_t type = (prefix >> 2) & 0x03;
        const std::uint8_t tag = prefix >> 4;
        if (type == kTypeMain && tag == kTagCollection) {
            if (depth == 0)
                ++s.topLevelCollections;
            ++depth;
        } else if (type == kTypeMain && tag == kTagEndCollection) {
            if (depth == 0)
                s.wellFormed = false; // an end without a start: ignore it
            else
                --depth;
        } else if (type == kTypeGlobal && tag == kTagReportId) {
            s.usesReportIds = true;
        }
        i += 1 + size;
    }
    if (i > d.size() || depth != 0)
        s.wellFormed = false;
    return s;
}

std::string BuildMatchText(std::uint16_t vendorId, std::uint16_t productId, int interfaceNumber,
                           std::size_t topLevelCollections) {
    char part[32];
    std::snprintf(part, sizeof part, "vid_%04x&pid_%04x", vendorId, productId);
    std::string text = part;
    if (interfaceNumber >= 0 && interfaceNumber < 100) {
        std::snprintf(part, sizeof part, "&mi_%02d", interfaceNumber);
        text += part;
    }
    for (std::size_t n = 1; n <= topLevelCollections && n < 100; ++n) {
        std::snprintf(part, sizeof part, "&col%02zu", n);
        text += part;
    }
    return text;
}

} // namespace orvo
