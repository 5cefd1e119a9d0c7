#include "device/feature_report.h"

#include <algorithm>

namespace orvo {

FeatureReport MakeFeatureReport(std::uint8_t code, std::initializer_list<ReportByte> params) {
    FeatureReport r;
    r[1] = code;
    for (const ReportByte& p : params) {
        if (p.index >= 2 && p.index < kChecksumByte)
            r[p.index] = p.value;
    }
    r[kChecksumByte] = FeatureChecksum(r.bytes);
    return r;
}

FeatureReport MakePalmRestReport(std::span<const std::uint8_t, 8> block) {
    FeatureReport r;
    std::copy(block.begin(), block.end(), r.bytes.begin() + 1);
    r[1] = cmd::kWritePalmRestLighting;
    return r;
}

} // namespace orvo
