// A Save the keyboard takes only in part reports exactly the groups that arrived.

#include "device/apply_changes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <set>

namespace orvo {
namespace {

// The simulated keyboard, refusing the feature reports of some commands and every transfer
// from the n-th on (unplugged half way).
class PartlyDeafDevice final : public HidDevice {
public:
    PartlyDeafDevice(HidDevice& inner, std::set<std::uint8_t> refused, int goneAfter)
        : m_inner(inner), m_refused(std::move(refused)), m_goneAfter(goneAfter) {}

    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        return Present() && !m_refused.contains(r[1]) && m_inner.SetFeature(r);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        return Present() && m_inner.GetFeature(r);
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> p) override {
        return Present() && m_inner.Write(p);
    }
    ReadResult Read(std::span<std::uint8_t> b, int timeoutMs) override {
        return Present() ? m_inner.Read(b, timeoutMs) : ReadResult{};
    }

private:
    bool Present() { return m_goneAfter < 0 || m_transfers++ < m_goneAfter; }

    HidDevice& m_inner;
    std::set<std::uint8_t> m_refused;
    int m_goneAfter;
    int m_transfers = 0;
};

struct Delivered {
    bool palmRest, lighting, colourSlots, gameMode, reportRate, keyMap, macroBlock2, mask, table1;
    friend bool operator==(const Delivered&, const Delivered&) = default;
};

TEST(ApplyDelivery, OnlyTheGroupsThatArrivedWholeCountAsDelivered) {
    struct Row {
        const char* what;
        std::set<std::uint8_t> refused; // command codes
        int goneAfter;                  // transfers before the keyboard vanishes, -1 never
        Delivered delivered;
    };
    const Row rows[] = {
        {"everything arrives", {}, -1, {true, true, true, true, true, true, true, true, true}},
        {"report rate refused",
         {0x01},
         -1,
         {true, true, true, true, false, true, true, true, true}},
        {"palm rest refused", {0x07}, -1, {false, true, true, true, true, true, true, true, true}},
        {"one colour slot write refused",
         {0x14},
         -1,
         {true, true, false, true, true, true, true, true, true}},
        {"key map announce refused",
         {0x0D},
         -1,
         {true, true, true, true, true, false, true, true, true}},
        {"lighting refused", {0x08}, -1, {true, false, true, true, true, true, true, true, true}},
        // Palm rest, dimmed lighting, seven slots, game mode, report rate, then 3 of the key
        // map's 9 transfers.
        {"gone during the key map",
         {},
         14,
         {true, false, true, true, true, false, false, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::SimulatedKeyboard kb;
        PartlyDeafDevice device(*kb.command, row.refused, row.goneAfter);
        RecordingPacer pacer;
        CommandChannel ch{device, pacer};
        SettingsImage image;
        DeviceSnapshot snapshot = image;
        image.byte(field::colourSlots, 4) = 0x80;
        image.byte(field::gameMode) = 1;
        image.byte(field::reportRate) = 2;
        image.byte(field::keyMap, 8) = 3;
        image.macroBlock(2)[1] = 5;
        // winLock 0 sets the Windows key's bit, so the key-enable mask changes too.
        image.customLightingTable(1)[6] = 0x40;
        const DeviceSnapshot before = snapshot;

        const ApplyResult r = ApplyChanges(ch, image, snapshot);
        const ChangedGroups& d = r.delivered;
        EXPECT_EQ(
            (Delivered{r.palmRestDelivered, d.lighting, d.colourSlots, d.gameMode, d.reportRate,
                       d.keyMap, d.macroBlocks[2], d.keyEnableMask, d.customLightingTables[1]}),
            row.delivered);
        const bool all = row.refused.empty() && row.goneAfter < 0;
        EXPECT_EQ(r.ok, all);
        EXPECT_EQ(snapshot == image, all); // a failed Save sends the same changes again
        if (!all) {
            EXPECT_EQ(snapshot, before);
        }
        // Nothing unchanged is ever reported delivered.
        EXPECT_FALSE(d.responseTime || d.macroBlocks[0] || d.customLightingTables[0]);
    }
}

} // namespace
} // namespace orvo
