// Start-up, arrival and factory reset: the connection working on a whole ConfigState.

#include "device/apply_changes.h"
#include "device/commands.h"
#include "device/connection.h"
#include "device/read_back.h"
#include "device/table_transfers.h"
#include "model/config_files.h"
#include "model/config_state.h"
#include "model/key_tables.h"
#include "model/lighting_rules.h"
#include "model/window_messages.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::SimulatedKeyboard;
using test::TempDir;

class CountingSink final : public MessageSink {
public:
    bool Send(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) override {
        std::lock_guard lock(m_mutex);
        m_messages.emplace_back(message, lParam);
        m_cv.notify_all();
        return true;
    }
    bool WaitFor(std::uint32_t message) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, 2s, [&] {
            return std::ranges::find(m_messages, std::pair{message, std::intptr_t{0}}) !=
                   m_messages.end();
        });
    }
    std::size_t count() {
        std::lock_guard lock(m_mutex);
        return m_messages.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::pair<std::uint32_t, std::intptr_t>> m_messages;
};

// A keyboard interface that takes requests but never answers one.
class Unanswering final : public HidDevice {
public:
    explicit Unanswering(std::unique_ptr<HidDevice> inner) : m_inner(std::move(inner)) {}
    bool SetFeature(std::span<const std::uint8_t, kFeatureReportSize> r) override {
        return m_inner->SetFeature(r);
    }
    bool GetFeature(std::span<std::uint8_t, kFeatureReportSize>) override { return false; }
    bool Write(std::span<const std::uint8_t, kBulkPacketSize> p) override {
        return m_inner->Write(p);
    }
    ReadResult Read(std::span<std::uint8_t> b, int timeoutMs) override {
        return m_inner->Read(b, timeoutMs);
    }

private:
    std::unique_ptr<HidDevice> m_inner;
};

// The simulated keyboard, optionally replaced by its firmware loader (product 0xA126 on
// interface 2, no command interface), or answering no request.
class LoaderBus final : public HidBus {
public:
    explicit LoaderBus(HidBus& inner) : m_inner(inner) {}
    bool loader = false;
    bool unanswering = false;

    std::vector<HidInterfaceInfo> Enumerate() override {
        if (loader)
            return {
                {"loader", kKeyboardVendorId, kKeyboardLoaderProductId, "vid_04d9&pid_a126&mi_02"}};
        return m_inner.Enumerate();
    }
    OpenResult Open(const std::string& path) override {
        if (loader)
            return {nullptr, "loader"};
        OpenResult opened = m_inner.Open(path);
        if (unanswering && opened.device)
            opened.device = std::make_unique<Unanswering>(std::move(opened.device));
        return opened;
    }
    std::unique_ptr<HotplugMonitor> WatchHotplug(HotplugCallback cb, std::string& e) override {
        return m_inner.WatchHotplug(std::move(cb), e);
    }

private:
    HidBus& m_inner;
};

struct ConnectionStateTest : testing::Test {
    SimulatedKeyboard kb;
    TempDir data;
    LoaderBus bus{*kb.bus};
    RecordingPacer pacer;
    std::unique_ptr<ConfigState> state = std::make_unique<ConfigState>();
    CountingSink sink;
    DeviceConnection connection{bus, pacer};

    ConnectionStateTest() { state->folders.dataFolder = data.path(); }

    // Changes the keyboard away from its factory state behind the connection's back.
    void EditKeyboard() {
        CommandChannel ch{*kb.command, pacer};
        SettingsImage image;
        ASSERT_TRUE(FullReadBack(ch, image));
        image.byte(field::reportRate) = 0;
        image.macroBlock(2)[0] = 0x33;
        ASSERT_TRUE(WriteReportRate(ch, image));
        ASSERT_TRUE(WriteMacroBlock(ch, image, 2));
        pacer.clear();
    }
    std::size_t TraceLines() const {
        std::ifstream in(kb.dir.path() / kSimulatorTraceFile);
        return static_cast<std::size_t>(
            std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
    }
};

TEST_F(ConnectionStateTest, AbsentAtStartStartsNoWorker) {
    kb.Unplug();
    const ConnectResult r = connection.Connect(*state, sink);
    EXPECT_FALSE(r.commandOpen);
    EXPECT_FALSE(r.inputOpen);
    EXPECT_FALSE(connection.listenerRunning());
    connection.Shutdown();
    EXPECT_EQ(sink.count(), 0u); // no read-back ran
}

TEST_F(ConnectionStateTest, StartUpReadsBackThenAnnouncesIt) {
    state->image.bytes[0] = 0x5A; // loaded from keymap.bin: reserved bytes survive
    const ConnectResult r = connection.Connect(*state, sink);
    EXPECT_TRUE(r.connected());
    ASSERT_TRUE(sink.WaitFor(WM_READBACK_DONE));
    connection.JoinReadBack();
    EXPECT_EQ(state->firmware, (FirmwareVersion{{1, 2, 0, 0}}));
    EXPECT_EQ(state->image.byte(field::lightingBrightness), 50);
    EXPECT_EQ(state->image.bytes[0], 0x5A);
    EXPECT_EQ(state->deviceSnapshot, state->image);
    EXPECT_TRUE(connection.listenerRunning());
    EXPECT_EQ(pacer.totalMs(), 479);
}

TEST_F(ConnectionStateTest, ArrivalWhileConnectedOnlyPauses) {
    ASSERT_TRUE(connection.Connect(*state, sink).connected());
    connection.JoinReadBack();
    pacer.clear();
    const std::size_t lines = TraceLines();
    const ArrivalResult r = connection.OnArrival(*state);
    EXPECT_FALSE(r.reopened);
    EXPECT_FALSE(r.readBackDone);
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{2000}));
    EXPECT_EQ(TraceLines(), lines);
}

TEST_F(ConnectionStateTest, ReplugReopensRefreshesAndRestartsTheListener) {
    ASSERT_TRUE(connection.Connect(*state, sink).connected());
    connection.JoinReadBack();
    kb.Unplug();
    connection.OnRemoval();
    ASSERT_FALSE(connection.commandOpen());
    kb.Replug();
    EditKeyboard();
    const ArrivalResult r = connection.OnArrival(*state);
    EXPECT_TRUE(r.reopened);
    EXPECT_TRUE(r.readBackDone);
    EXPECT_TRUE(r.transfersOk);
    EXPECT_FALSE(r.factoryReset);
    EXPECT_EQ(state->image.byte(field::reportRate), 0);
    EXPECT_EQ(state->image.macroBlock(2)[0], 0x33);
    EXPECT_EQ(state->deviceSnapshot, state->image);
    EXPECT_EQ(pacer.pauses().front(), 2000);
    EXPECT_TRUE(connection.listenerRunning());
}

TEST_F(ConnectionStateTest, ReplugKeepsUnsavedEditsSoTheNextSaveSendsExactlyThem) {
    ASSERT_TRUE(connection.Connect(*state, sink).connected());
    connection.JoinReadBack();
    const std::uint8_t edited = state->image.byte(field::gameMode) ^ 1;
    state->image.byte(field::gameMode) = edited;
    state->image.customLightingTable(1)[9] = 0x44;
    kb.Unplug();
    connection.OnRemoval();
    kb.Replug();
    EditKeyboard(); // report rate and macro block 2, behind the program's back
    ASSERT_TRUE(connection.OnArrival(*state).transfersOk);

    EXPECT_EQ(state->image.byte(field::gameMode), edited);
    EXPECT_EQ(state->image.customLightingTable(1)[9], 0x44);
    EXPECT_EQ(state->image.byte(field::reportRate), 0); // not edited: the keyboard's
    EXPECT_EQ(state->image.macroBlock(2)[0], 0x33);     // likewise
    EXPECT_EQ(state->deviceSnapshot.byte(field::reportRate), 0);
    EXPECT_NE(state->deviceSnapshot.byte(field::gameMode), edited);
    // What the next Save sends: the two edits, nothing else.
    const ChangedGroups changed = CompareWithSnapshot(state->image, state->deviceSnapshot);
    EXPECT_TRUE(changed.gameMode && changed.customLightingTables[1]);
    EXPECT_EQ(std::ranges::count(changed.customLightingTables, true), 1);
    EXPECT_FALSE(changed.reportRate || changed.lighting || changed.colourSlots ||
                 changed.responseTime || changed.keyMap || changed.keyEnableMask);
    EXPECT_TRUE(std::ranges::none_of(changed.macroBlocks, [](bool b) { return b; }));
}

TEST_F(ConnectionStateTest, OnlyAFirmwareVersionTheKeyboardReportedIsCompared) {
    state->offeredFirmware = {9, 9};
    // The keyboard answers nothing: the read-back fails and leaves no version to compare.
    bus.unanswering = true;
    ASSERT_TRUE(connection.Connect(*state, sink).commandOpen);
    ASSERT_TRUE(sink.WaitFor(WM_READBACK_DONE));
    connection.JoinReadBack();
    EXPECT_FALSE(state->firmwareRead);
    EXPECT_FALSE(FirmwareUpdateOffered(*state));

    // It comes back answering: its version counts.
    bus.unanswering = false;
    kb.Unplug();
    connection.OnRemoval();
    kb.Replug();
    ASSERT_TRUE(connection.OnArrival(*state).transfersOk);
    EXPECT_TRUE(state->firmwareRead);
    EXPECT_TRUE(FirmwareUpdateOffered(*state));

    // Back again but silent (as after an update): the old version no longer counts.
    bus.unanswering = true;
    kb.Unplug();
    connection.OnRemoval();
    kb.Replug();
    EXPECT_FALSE(connection.OnArrival(*state).transfersOk);
    EXPECT_FALSE(FirmwareUpdateOffered(*state));
}

TEST_F(ConnectionStateTest, LoaderSeenOnArrivalMeansFactoryResetOnTheNext) {
    ASSERT_TRUE(connection.Connect(*state, sink).connected());
    connection.JoinReadBack();
    kb.Unplug();
    connection.OnRemoval();
    bus.loader = true;
    EXPECT_FALSE(connection.OnArrival(*state).reopened);
    EXPECT_TRUE(connection.resetPending());

    bus.loader = false;
    kb.Replug();
    EditKeyboard();
    state->customisedKeys.fill(1);
    state->keyActions[120].setKind(5);
    state->image.byte(field::winLock) = 1;
    const ArrivalResult r = connection.OnArrival(*state);
    EXPECT_TRUE(r.factoryReset);
    EXPECT_TRUE(r.reopened);
    EXPECT_FALSE(connection.resetPending());
    EXPECT_EQ(state->image.byte(field::reportRate), 3);
    EXPECT_EQ(state->image.macroBlock(2)[0], 0);
    EXPECT_TRUE(std::ranges::all_of(state->customisedKeys, [](auto b) { return b == 0; }));
    EXPECT_EQ(state->keyActions[120].bytes[1], 0);
    EXPECT_EQ(state->keyActions[0].bytes[0], DefaultCodeOf(0));
    EXPECT_EQ(state->keyActionSnapshot, state->keyActions);
    // keymap.bin holds the reset state.
    KeyActionTable table;
    SettingsImage image;
    ASSERT_TRUE(ReadProfileFile(data.path() / kKeymapFileName, &image, table));
    EXPECT_EQ(image.byte(field::reportRate), 3);
    EXPECT_TRUE(std::ranges::all_of(image[field::keyEnableMask], [](auto b) { return b == 0xFF; }));
}

TEST_F(ConnectionStateTest, FactoryResetFailuresKeepWhatTheyCannotVouchFor) {
    ASSERT_TRUE(connection.OpenCommandInterface());
    EditKeyboard();
    state->image.byte(field::reportRate) = 2;
    state->deviceSnapshot.byte(field::reportRate) = 2;
    state->customisedKeys.fill(1);

    // Keyboard gone: nothing of the state changes.
    kb.Unplug();
    const auto before = std::make_unique<ConfigState>(*state);
    ResetResult r = connection.ResetAndReload(*state);
    EXPECT_FALSE(r.transfersOk);
    EXPECT_FALSE(r.keymapWritten);
    EXPECT_EQ(state->image, before->image);
    EXPECT_EQ(state->customisedKeys, before->customisedKeys);
    kb.Replug();

    // keymap.bin cannot be written: the image holds the keyboard's values, the snapshots stay.
    state->folders.dataFolder = data.path() / "missing" / "folder";
    std::ofstream(data.path() / "missing").put('x'); // a file where the folder would be
    r = connection.ResetAndReload(*state);
    EXPECT_TRUE(r.transfersOk);
    EXPECT_FALSE(r.keymapWritten);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(state->image.byte(field::reportRate), 3);
    EXPECT_EQ(state->deviceSnapshot.byte(field::reportRate), 2);
}

} // namespace
} // namespace orvo
