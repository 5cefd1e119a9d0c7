// Report framing, descriptor parsing and interface matching.

#include "device/connection.h"
#include "device/feature_report.h"
#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvo {
namespace {

TEST(FeatureReport, ChecksumFoldsEveryParameterAndWraps) {
    struct Row {
        FeatureReport report;
        std::uint8_t checksum;
    };
    const Row rows[] = {
        {MakeFeatureReport(cmd::kReadFirmwareVersion), 0x7F},
        {MakeFeatureReport(cmd::kReadLightingEffect), 0x77},
        {MakeFeatureReport(cmd::kReadKeyEnableMask, {{4, 0x15}}), 0x5C},
        {MakeFeatureReport(cmd::kResetToFactoryDefaults, {{2, 0xFF}}), 0xED}, // 0x112 wraps
        {MakeFeatureReport(cmd::kReadColourSlot, {{3, 6}}), 0x65},
        {MakeFeatureReport(cmd::kWriteMacroBlock, {{3, 31}, {4, 3}}), 0xCC},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << int(row.report.code()));
        EXPECT_EQ(row.report[0], 0);
        EXPECT_EQ(row.report[kChecksumByte], row.checksum);
    }
}

TEST(FeatureReport, ParametersLandAtTheirBytesAndOthersStayZero) {
    const FeatureReport r = MakeFeatureReport(cmd::kReadColourSlot, {{3, 6}, {9, 1}, {1, 7}});
    const FeatureBuffer expected{0, 0x94, 0, 6, 0, 0, 0, 0, 0x65};
    EXPECT_EQ(r.bytes, expected);
}

TEST(FeatureReport, PalmRestCarriesItsEightBytesWithoutChecksum) {
    const std::array<std::uint8_t, 8> block{0x55, 2, 40, 4, 9, 0x10, 0x20, 0x30};
    const FeatureReport r = MakePalmRestReport(block);
    const FeatureBuffer expected{0, 0x07, 2, 40, 4, 9, 0x10, 0x20, 0x30};
    EXPECT_EQ(r.bytes, expected); // byte 8 is blue, not a checksum
}

// Descriptor items: Usage Page, Usage, Collection (Application) ... End Collection.
std::vector<std::uint8_t> Collection(const std::vector<std::uint8_t>& inner,
                                     bool withReportId = false) {
    std::vector<std::uint8_t> d{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01};
    if (withReportId) {
        d.push_back(0x85);
        d.push_back(0x04);
    }
    for (std::uint8_t b : inner)
        d.push_back(b);
    d.push_back(0xC0);
    return d;
}

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> d;
    for (const auto& p : parts)
        for (std::uint8_t b : p)
            d.push_back(b);
    return d;
}

TEST(ReportDescriptor, CountsTopLevelCollectionsAndReportIds) {
    // A nested physical collection, and a 4-byte item whose data holds 0xA1 and 0xC0.
    const std::vector<std::uint8_t> nested{0xA1, 0x00, 0x27, 0xA1, 0xC0, 0xA1, 0xC0, 0xC0};
    const std::vector<std::uint8_t> longItem{0xFE, 0x02, 0x10, 0xA1, 0xC0};
    struct Row {
        const char* name;
        std::vector<std::uint8_t> descriptor;
        std::size_t collections;
        bool reportIds;
        bool wellFormed;
    };
    const Row rows[] = {
        {"empty", {}, 0, false, true},
        {"one", Collection({0x75, 0x08}), 1, false, true},
        {"nested and item data", Collection(nested), 1, false, true},
        {"four with ids",
         Concat({Collection({}, true), Collection({}, true), Collection({}), Collection({}, true)}),
         4, true, true},
        {"long item", Concat({longItem, Collection({})}), 1, false, true},
        {"cut inside an item", {0x05, 0x01, 0xA1, 0x01, 0x27, 0x01}, 1, false, false},
        {"unclosed", {0xA1, 0x01, 0xA1, 0x00}, 1, false, false},
        {"stray end", {0xC0, 0xA1, 0x01, 0xC0}, 1, false, false},
        {"long item cut", {0xFE}, 0, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DescriptorSummary s = SummariseReportDescriptor(row.descriptor);
        EXPECT_EQ(s.topLevelCollections, row.collections);
        EXPECT_EQ(s.usesReportIds, row.reportIds);
        EXPECT_EQ(s.wellFormed, row.wellFormed);
    }
}

TEST(ReportDescriptor, MatchTextNamesInterfaceAndCollections) {
    EXPECT_EQ(BuildMatchText(0x04D9, 0xA12E, 3, 1), "vid_04d9&pid_a12e&mi_03&col01");
    EXPECT_EQ(BuildMatchText(0x04D9, 0xA12E, 2, 4),
              "vid_04d9&pid_a12e&mi_02&col01&col02&col03&col04");
    EXPECT_EQ(BuildMatchText(0x04D9, 0xA126, -1, 0), "vid_04d9&pid_a126");
}

// A bus that lists fixed interfaces and opens none.
class ListedBus final : public HidBus {
public:
    explicit ListedBus(std::vector<HidInterfaceInfo> list) : m_list(std::move(list)) {}
    std::vector<HidInterfaceInfo> Enumerate() override { return m_list; }
    OpenResult Open(const std::string& path) override { return {nullptr, "cannot open " + path}; }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback, std::string&) override {
        return nullptr;
    }

private:
    std::vector<HidInterfaceInfo> m_list;
};

HidInterfaceInfo Interface(std::string path, std::uint16_t pid, int mi, std::size_t cols) {
    return {std::move(path), kKeyboardVendorId, pid,
            BuildMatchText(kKeyboardVendorId, pid, mi, cols)};
}

TEST(FindKeyboardInterface, PicksTheFirstMatchOfTheRightIdentity) {
    ListedBus bus({
        {"/dev/hidraw0", 0x046D, kKeyboardProductId, "vid_046d&pid_a12e&mi_03"}, // other vendor
        Interface("/dev/hidraw1", kKeyboardProductId, 0, 1),
        Interface("/dev/hidraw2", kKeyboardProductId, 2, 4),
        Interface("/dev/hidraw3", kKeyboardProductId, 3, 1),
        Interface("/dev/hidraw4", kKeyboardProductId, 3, 1), // a second match: not chosen
        Interface("/dev/hidraw5", kKeyboardLoaderProductId, 2, 1),
    });
    struct Row {
        std::string_view substring;
        std::uint16_t product;
        const char* path; // nullptr: nothing found
    };
    const Row rows[] = {
        {kCommandInterfaceMatch, kKeyboardProductId, "/dev/hidraw3"},
        {kInputInterfaceMatch, kKeyboardProductId, "/dev/hidraw2"},
        {kLoaderInterfaceMatch, kKeyboardProductId, "/dev/hidraw2"},
        {kLoaderInterfaceMatch, kKeyboardLoaderProductId, "/dev/hidraw5"},
        {kCommandInterfaceMatch, kKeyboardLoaderProductId, nullptr},
        {"MI_03", kKeyboardProductId, nullptr}, // the search is case-sensitive
        {"mi_05", kKeyboardProductId, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.substring));
        const auto found = FindKeyboardInterface(bus, row.substring, row.product);
        ASSERT_EQ(found.has_value(), row.path != nullptr);
        if (found) {
            EXPECT_EQ(found->path, row.path);
        }
    }
}

} // namespace
} // namespace orvo
