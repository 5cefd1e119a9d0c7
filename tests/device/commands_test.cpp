// Command sequences against the simulated keyboard: what goes over the wire, in which order,
// with which pauses, and what lands in the image.

#include "device/apply_changes.h"
#include "device/feature_report.h"
#include "device/read_back.h"
#include "device/table_transfers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>

namespace orvo {
namespace {

using test::SimulatedKeyboard;
using test::Transfer;

// "set 94/3": op, command code and, for commands that carry one, the sub-code (byte 2) or
// index (byte 3) — the part of a report these tests tell apart.
std::string Describe(const Transfer& t) {
    if (t.op != "set")
        return t.op;
    char text[32];
    const std::uint8_t code = t.code();
    switch (code) {
    case cmd::kWriteLightingEffect:
    case cmd::kWriteGameMode:
    case cmd::kResetToFactoryDefaults:
        std::snprintf(text, sizeof text, "set %02x/%d", code, t.bytes[2]);
        break;
    case cmd::kReadColourSlot:
    case cmd::kWriteColourSlot:
    case cmd::kReadMacroBlock:
    case cmd::kWriteMacroBlock:
    case cmd::kReadCustomLightingTable:
    case cmd::kWriteCustomLightingTable:
        std::snprintf(text, sizeof text, "set %02x/%d", code, t.bytes[3]);
        break;
    default:
        std::snprintf(text, sizeof text, "set %02x", code);
    }
    return text;
}

std::vector<std::string> Describe(const std::vector<Transfer>& transfers) {
    std::vector<std::string> out;
    for (const Transfer& t : transfers)
        out.push_back(Describe(t));
    return out;
}

std::vector<std::string> SentOnly(const std::vector<Transfer>& transfers) {
    std::vector<std::string> out;
    for (const Transfer& t : transfers)
        if (t.op == "set")
            out.push_back(Describe(t));
    return out;
}

void Append(std::vector<std::string>& v, std::initializer_list<std::string> items, int times = 1) {
    for (int i = 0; i < times; ++i)
        v.insert(v.end(), items);
}

struct Fixture : testing::Test {
    SimulatedKeyboard kb;
    RecordingPacer pacer;
    CommandChannel ch{*kb.recorder, pacer};

    // An image and snapshot as after a read-back of the factory keyboard.
    SettingsImage image;
    DeviceSnapshot snapshot;
    void ReadBoth() {
        ASSERT_TRUE(FullReadBack(ch, image));
        snapshot = image;
        kb.recorder->clear();
        pacer.clear();
    }
};

using ReadBackTest = Fixture;

TEST_F(ReadBackTest, StartUpSequenceIs250TransfersAnd479MsInOrder) {
    FirmwareVersion firmware;
    ASSERT_TRUE(ReadBackSequence(ch, image, firmware));

    std::vector<std::string> expected;
    Append(expected, {"set 09/1", "set 80", "get", "set 88", "get"});
    for (int slot = 0; slot < 7; ++slot)
        Append(expected, {"set 94/" + std::to_string(slot), "get"});
    Append(expected, {"set 89", "get", "set 81", "get", "set 84", "get", "set 8d", "get"});
    Append(expected, {"read"}, 8);
    Append(expected, {"set 8e", "get", "read"});
    for (int block = 0; block < 32; ++block)
        Append(expected, {"set 91/" + std::to_string(block), "get", "read", "read", "read"});
    for (int table = 0; table < 5; ++table) {
        Append(expected, {"set 92/" + std::to_string(table), "get"});
        Append(expected, {"read"}, 8);
    }
    Append(expected, {"set 87", "get"});
    EXPECT_EQ(Describe(kb.recorder->transfers()), expected);
    EXPECT_EQ(expected.size(), 250u);

    std::vector<int> pauses{20, 10, 10, 10};
    for (int slot = 0; slot < 7; ++slot)
        pauses.insert(pauses.end(), {1, 1});
    pauses.insert(pauses.end(), {5, 10, 10, 10, 10});
    pauses.insert(pauses.end(), 32, 0);
    for (int table = 0; table < 5; ++table) {
        pauses.insert(pauses.end(), {5, 5});
        pauses.insert(pauses.end(), 8, 5);
    }
    pauses.insert(pauses.end(), {20, 100});
    EXPECT_EQ(pacer.pauses(), pauses);
    EXPECT_EQ(pacer.totalMs(), 479);

    // The factory keyboard as the image holds it.
    EXPECT_EQ(firmware.bytes, (std::array<std::uint8_t, 4>{1, 2, 0, 0}));
    EXPECT_EQ(image.byte(field::lightingEffect), 1);
    EXPECT_EQ(image.byte(field::lightingSpeed), 5);
    EXPECT_EQ(image.byte(field::lightingBrightness), 50);
    EXPECT_EQ(image.byte(field::reportRate), 3);
    EXPECT_EQ(image.byte(field::responseTime), 1);
    EXPECT_EQ(image.byte(field::colourSlots, 18), 0xFF); // slot 6 white
    EXPECT_EQ(image.byte(field::winLock), 0);
    const std::array<std::uint8_t, 8> palm{7, 0, 50, 3, 0, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::ranges::equal(image[field::palmRest], palm));
}

TEST_F(ReadBackTest, RefreshSkipsVersionAndYields) {
    ASSERT_TRUE(FullReadBack(ch, image));
    const auto transfers = kb.recorder->transfers();
    EXPECT_EQ(transfers.size(), 248u);
    EXPECT_EQ(Describe(transfers[1]), "set 88");
    EXPECT_EQ(pacer.totalMs(), 469);
    EXPECT_EQ(std::ranges::count(pacer.pauses(), 0), 0);
}

TEST_F(ReadBackTest, KeyboardGoneLeavesTheImageAsItWas) {
    image.byte(field::lightingEffect) = 9;
    image.byte(field::reportRate) = 2;
    const SettingsImage before = image;
    kb.Unplug();
    FirmwareVersion firmware;
    firmware.bytes = {1, 1, 0, 0};
    EXPECT_FALSE(FullReadBack(ch, image));
    EXPECT_FALSE(ReadBackSequence(ch, image, firmware));
    EXPECT_EQ(image, before);
    EXPECT_EQ(firmware.major(), 1);
    EXPECT_EQ(firmware.minor(), 1);
}

TEST_F(ReadBackTest, MaskReadDerivesWinLockFromTheWindowsKeyBit) {
    struct Row {
        std::uint8_t maskByte1;
        std::uint8_t winLock;
    };
    for (const Row row : {Row{0x3E, 1}, Row{0xFE, 1}, Row{0x01, 0}, Row{0xFF, 0}}) {
        SCOPED_TRACE(int(row.maskByte1));
        image[field::keyEnableMask][1] = row.maskByte1;
        ASSERT_TRUE(WriteKeyEnableMask(ch, image));
        image.byte(field::winLock) = 7;
        ASSERT_TRUE(ReadKeyEnableMask(ch, image));
        EXPECT_EQ(image.byte(field::winLock), row.winLock);
        EXPECT_EQ(image[field::keyEnableMask][1], row.maskByte1);
    }
}

TEST_F(ReadBackTest, ValueTransformsOnTheWireAndBack) {
    // Speed positions travel as 10 - position; response time as value + 1 and is stored as read.
    struct Row {
        std::uint8_t speed, speedOnWire, responseTime, responseOnWire;
    };
    for (const Row row : {Row{0, 10, 0, 1}, Row{3, 7, 4, 5}, Row{9, 1, 9, 10}}) {
        SCOPED_TRACE(int(row.speed));
        kb.recorder->clear();
        image.byte(field::lightingSpeed) = row.speed;
        image.byte(field::responseTime) = row.responseTime;
        ASSERT_TRUE(WriteLightingEffect(ch, image, kLightingSubCodeFull));
        ASSERT_TRUE(WriteResponseTime(ch, image));
        const auto sent = kb.recorder->sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].bytes[4], row.speedOnWire);
        EXPECT_EQ(sent[1].bytes[2], row.responseOnWire);

        SettingsImage read;
        ASSERT_TRUE(ReadLightingEffect(ch, read));
        ASSERT_TRUE(ReadResponseTime(ch, read));
        EXPECT_EQ(read.byte(field::lightingSpeed), row.speed);
        EXPECT_EQ(read.byte(field::responseTime), row.responseOnWire);
    }
}

TEST_F(ReadBackTest, TablesRoundTripPacketByPacket) {
    SettingsImage written;
    for (std::size_t i = 0; i < written.bytes.size(); ++i)
        written.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    ASSERT_TRUE(WriteKeyMap(ch, written));
    ASSERT_TRUE(WriteMacroBlock(ch, written, 31));
    ASSERT_TRUE(WriteCustomLightingTable(ch, written, 4));
    SettingsImage read;
    ASSERT_TRUE(ReadKeyMap(ch, read));
    ASSERT_TRUE(ReadMacroBlock(ch, read, 31));
    ASSERT_TRUE(ReadCustomLightingTable(ch, read, 4));
    EXPECT_TRUE(std::ranges::equal(read[field::keyMap], written[field::keyMap]));
    EXPECT_TRUE(std::ranges::equal(read.macroBlock(31), written.macroBlock(31)));
    EXPECT_TRUE(std::ranges::equal(read.macroBlock(30), SettingsImage{}.macroBlock(30)));
    EXPECT_TRUE(std::ranges::equal(read.customLightingTable(4), written.customLightingTable(4)));
    // Out-of-range indices send nothing.
    kb.recorder->clear();
    EXPECT_FALSE(WriteMacroBlock(ch, written, 32));
    EXPECT_FALSE(ReadCustomLightingTable(ch, read, 5));
    EXPECT_TRUE(kb.recorder->transfers().empty());
}

TEST_F(ReadBackTest, FactoryResetRestoresTheKeyboard) {
    image.byte(field::lightingEffect) = 0x33;
    image.byte(field::gameMode) = 1;
    image.macroBlock(3)[0] = 0x42;
    ASSERT_TRUE(WriteLightingEffect(ch, image, kLightingSubCodeFull));
    ASSERT_TRUE(WriteGameMode(ch, 1));
    ASSERT_TRUE(WriteMacroBlock(ch, image, 3));
    kb.recorder->clear();
    pacer.clear();

    ASSERT_TRUE(ResetToFactoryDefaults(ch));
    EXPECT_EQ(SentOnly(kb.recorder->transfers()),
              (std::vector<std::string>{"set 13/255", "set 09/1", "set 09/1"}));
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{300, 20, 300, 20, 300}));
    SettingsImage read;
    ASSERT_TRUE(FullReadBack(ch, read));
    EXPECT_EQ(read.byte(field::lightingEffect), 1);
    EXPECT_EQ(read.macroBlock(3)[0], 0);
    EXPECT_EQ(read.byte(field::gameMode), 1); // the reset's own game-mode writes
}

struct ApplyRow {
    const char* name;
    void (*edit)(SettingsImage&);
    std::vector<std::string> sent;
};

class ApplyChangesTest : public Fixture, public testing::WithParamInterface<ApplyRow> {};

TEST_P(ApplyChangesTest, SendsOnlyWhatChangedInItsFixedOrder) {
    ReadBoth();
    const DeviceSnapshot before = snapshot;
    GetParam().edit(image);
    const ApplyResult r = ApplyChanges(ch, image, snapshot);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(SentOnly(kb.recorder->transfers()), GetParam().sent);
    // With nothing but the palm rest to send, the snapshot is left alone.
    if (GetParam().sent.size() > 1) {
        EXPECT_EQ(snapshot, image);
    } else {
        EXPECT_EQ(snapshot, before);
    }
    // The keyboard now holds what was applied.
    SettingsImage read;
    ASSERT_TRUE(FullReadBack(ch, read));
    EXPECT_TRUE(std::ranges::equal(read[field::keyMap], image[field::keyMap]));
    EXPECT_TRUE(std::ranges::equal(read[field::colourSlots], image[field::colourSlots]));
    EXPECT_EQ(read.byte(field::lightingSpeed), image.byte(field::lightingSpeed));
    EXPECT_EQ(read.byte(field::winLock), image.byte(field::winLock));
}

const std::vector<std::string> kLightingFirst{"set 07", "set 08/1"};
std::vector<std::string> Framed(std::vector<std::string> middle) {
    std::vector<std::string> v = kLightingFirst;
    v.insert(v.end(), middle.begin(), middle.end());
    v.push_back("set 08/2");
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ApplyChangesTest,
    testing::Values(
        ApplyRow{"nothing", [](SettingsImage&) {}, {"set 07"}},
        ApplyRow{"palm rest only",
                 [](SettingsImage& i) { i.byte(field::palmRest, 2) = 10; },
                 {"set 07"}},
        ApplyRow{"speed", [](SettingsImage& i) { i.byte(field::lightingSpeed) = 3; }, Framed({})},
        ApplyRow{"one colour slot", [](SettingsImage& i) { i.byte(field::colourSlots, 4) = 0x80; },
                 Framed({"set 14/0", "set 14/1", "set 14/2", "set 14/3", "set 14/4", "set 14/5",
                         "set 14/6"})},
        ApplyRow{"win lock", [](SettingsImage& i) { i.byte(field::winLock) = 1; },
                 Framed({"set 0e"})},
        // The read-back leaves game mode on.
        ApplyRow{"game mode", [](SettingsImage& i) { i.byte(field::gameMode) = 0; },
                 Framed({"set 09/0"})},
        ApplyRow{"rate and response",
                 [](SettingsImage& i) {
                     i.byte(field::reportRate) = 1;
                     i.byte(field::responseTime) = 4;
                 },
                 Framed({"set 01", "set 04"})},
        ApplyRow{"everything in order",
                 [](SettingsImage& i) {
                     i.byte(field::customLightingTables, 2 * 512 + 5) = 9;
                     i.byte(field::keyEnableMask, 0) = 0xFE;
                     i.macroBlock(31)[0] = 1;
                     i.macroBlock(5)[191] = 1;
                     i.byte(field::keyMap, 100) = 0x2C;
                     i.byte(field::responseTime) = 0;
                     i.byte(field::reportRate) = 0;
                     i.byte(field::gameMode) = 0;
                     i.byte(field::colourSlots, 0) = 1;
                 },
                 Framed({"set 14/0", "set 14/1", "set 14/2", "set 14/3", "set 14/4", "set 14/5",
                         "set 14/6", "set 09/0", "set 01", "set 04", "set 0d", "set 11/5",
                         "set 11/31", "set 0e", "set 12/2"})}),
    [](const testing::TestParamInfo<ApplyRow>& row) {
        std::string name = row.param.name;
        std::ranges::replace(name, ' ', '_');
        return name;
    });

TEST_F(ApplyChangesTest, WindowsKeyRuleShapesTheMaskThatIsSent) {
    ReadBoth();
    struct Row {
        std::uint8_t winLock, maskByte1, sentByte1;
    };
    for (const Row row :
         {Row{1, 0xFF, 0x3E}, Row{1, 0x01, 0x00}, Row{0, 0x3E, 0x3F}, Row{0, 0xC0, 0xC1}}) {
        SCOPED_TRACE(int(row.maskByte1));
        image.byte(field::winLock) = row.winLock;
        image[field::keyEnableMask][1] = row.maskByte1;
        snapshot[field::keyEnableMask][0] ^= 1; // force the mask out
        kb.recorder->clear();
        ASSERT_TRUE(ApplyChanges(ch, image, snapshot).ok);
        std::vector<Transfer> writes;
        for (const Transfer& t : kb.recorder->transfers())
            if (t.op == "write")
                writes.push_back(t);
        ASSERT_EQ(writes.size(), 1u);
        ASSERT_EQ(writes[0].bytes.size(), kBulkPacketSize);
        EXPECT_EQ(writes[0].bytes[2], row.sentByte1);
        EXPECT_TRUE(std::all_of(writes[0].bytes.begin() + 22, writes[0].bytes.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

TEST_F(ApplyChangesTest, PausesOfTableWrites) {
    ReadBoth();
    image.byte(field::keyMap, 0) ^= 1;
    image.macroBlock(0)[0] ^= 1;
    ASSERT_TRUE(ApplyChanges(ch, image, snapshot).ok);
    // palm rest (none), 08/1 + 10, key map 50 .. 60 + 30, macro 1, 0, 0 + 100, 08/2.
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{10, 10, 50, 60, 30, 1, 0, 0, 100, 10}));
}

// Unplugs the simulated keyboard once `after` transfers went through.
class UnplugAfter final : public HidDevice {
public:
    UnplugAfter(HidDevice& inner, const SimulatedKeyboard& kb, int after)
        : m_inner(inner), m_kb(kb), m_left(after) {}
    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        Tick();
        return m_inner.SetFeature(r);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize> r) override {
        Tick();
        return m_inner.GetFeature(r);
    }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> p) override {
        Tick();
        return m_inner.Write(p);
    }
    ReadResult Read(std::span<std::uint8_t> b, int t) override {
        Tick();
        return m_inner.Read(b, t);
    }

private:
    void Tick() {
        if (m_left-- == 0)
            m_kb.Unplug();
    }
    HidDevice& m_inner;
    const SimulatedKeyboard& m_kb;
    int m_left;
};

TEST_F(ApplyChangesTest, FailedTransferKeepsSnapshotSoTheNextSaveResends) {
    ReadBoth();
    image.byte(field::lightingSpeed) = 2;
    image.macroBlock(7)[3] = 0x11;
    const DeviceSnapshot before = snapshot;
    UnplugAfter failing(*kb.recorder, kb, 4); // palm rest, 08/1, macro announce, 1 packet
    CommandChannel broken{failing, pacer};
    const ApplyResult r = ApplyChanges(broken, image, snapshot);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.sent.macroBlocks[7]);
    EXPECT_EQ(snapshot, before);

    kb.Replug();
    kb.recorder->clear();
    EXPECT_TRUE(ApplyChanges(ch, image, snapshot).ok);
    EXPECT_EQ(SentOnly(kb.recorder->transfers()), Framed({"set 11/7"}));
    EXPECT_EQ(snapshot, image);
}

} // namespace
} // namespace orvo
