// The simulated keyboard's folder contract: memory kept across instances, the trace, the
// unplugged file and the input file.

#include "device/commands.h"
#include "device/feature_report.h"
#include "device/read_back.h"
#include "device/table_transfers.h"
#include "device/trace.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <regex>
#include <thread>

namespace orvo {
namespace {

using test::SimulatedKeyboard;
using test::TempDir;

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void AppendLine(const std::filesystem::path& file, const std::string& line) {
    std::ofstream(file, std::ios::app) << line;
}

TEST(TraceLine, FormatsMillisecondsOpAndLowercaseHex) {
    const std::uint8_t bytes[] = {0x00, 0x8E, 0x0A, 0xFF};
    EXPECT_EQ(FormatTraceLine(1234, trace_op::kSet, bytes), "1234 set 00 8e 0a ff\n");
    EXPECT_EQ(FormatTraceLine(0, trace_op::kInput, {}), "0 input\n");
}

TEST(SimulatedKeyboardTest, MemoryPersistsAcrossInstancesAndReset) {
    TempDir dir;
    RecordingPacer pacer;
    std::string error;
    SettingsImage image;
    {
        auto bus = OpenSimulatorBus(dir.path(), error);
        auto dev = bus->Open(std::string(kSimulatorCommandPath)).device;
        CommandChannel ch{*dev, pacer};
        ASSERT_TRUE(FullReadBack(ch, image));
        image.byte(field::reportRate) = 1;
        image.byte(field::colourSlots, 20) = 0x42;
        ASSERT_TRUE(WriteReportRate(ch, image));
        ASSERT_TRUE(WriteColourSlot(ch, image, 6));
    }
    auto bus = OpenSimulatorBus(dir.path(), error);
    auto dev = bus->Open(std::string(kSimulatorCommandPath)).device;
    CommandChannel ch{*dev, pacer};
    SettingsImage read;
    ASSERT_TRUE(FullReadBack(ch, read));
    EXPECT_EQ(read.byte(field::reportRate), 1);
    EXPECT_EQ(read.byte(field::colourSlots, 20), 0x42);

    // A damaged memory file counts as the factory state, never as garbage.
    std::ofstream(dir.path() / kSimulatorMemoryFile, std::ios::binary | std::ios::trunc) << "x";
    auto fresh = OpenSimulatorBus(dir.path(), error)->Open(std::string(kSimulatorCommandPath));
    CommandChannel ch2{*fresh.device, pacer};
    ASSERT_TRUE(FullReadBack(ch2, read));
    EXPECT_EQ(read.byte(field::reportRate), 3);
}

// The program and orvoctl each open the keyboard; the simulator is one keyboard to both, and it
// marks what would arrive broken: a report with a wrong checksum, and the answer or packet of a
// sequence another process's transfers came into.
TEST(SimulatedKeyboardTest, TwoProcessesShareOneKeyboardAndBrokenSequencesAreMarked) {
    TempDir dir;
    RecordingPacer pacer;
    std::string error;
    auto busA = OpenSimulatorBus(dir.path(), error);
    auto busB = OpenSimulatorBus(dir.path(), error);
    auto a = busA->Open(std::string(kSimulatorCommandPath)).device;
    auto b = busB->Open(std::string(kSimulatorCommandPath)).device;
    CommandChannel chA{*a, pacer};
    CommandChannel chB{*b, pacer};
    const auto errors = [&] {
        const auto lines = Lines(dir.path() / kSimulatorTraceFile);
        return std::ranges::count_if(
            lines, [](const std::string& l) { return l.find(" error ") != std::string::npos; });
    };

    // One after the other: B reads what A wrote, and nothing is marked.
    SettingsImage image;
    image.byte(field::reportRate) = 2;
    ASSERT_TRUE(WriteReportRate(chA, image));
    SettingsImage seen;
    ASSERT_TRUE(ReadReportRate(chB, seen));
    EXPECT_EQ(seen.byte(field::reportRate), 2);
    ASSERT_TRUE(FullReadBack(chA, seen));
    EXPECT_EQ(errors(), 0);

    // B's request lands between A's key-map announce and its packets.
    FeatureBuffer announce = MakeFeatureReport(cmd::kWriteKeyMap, {{4, 8}}).bytes;
    ASSERT_TRUE(a->SetFeature(announce));
    ASSERT_TRUE(ReadReportRate(chB, seen));
    BulkPacket packet{};
    ASSERT_TRUE(a->Write(packet));
    EXPECT_EQ(errors(), 1);

    // A report whose checksum is wrong.
    FeatureBuffer bad = MakeFeatureReport(cmd::kWriteReportRate, {{2, 1}}).bytes;
    ++bad[kChecksumByte];
    ASSERT_TRUE(b->SetFeature(bad));
    EXPECT_EQ(errors(), 2);
    ASSERT_TRUE(ReadReportRate(chA, seen));
    EXPECT_EQ(seen.byte(field::reportRate), 2); // the damaged report changed nothing
}

TEST(SimulatedKeyboardTest, TraceLogsEveryTransferAsTheKeyboardSawIt) {
    SimulatedKeyboard kb;
    RecordingPacer pacer;
    CommandChannel ch{*kb.command, pacer};
    SettingsImage image;
    ASSERT_TRUE(ReadReportRate(ch, image));
    ASSERT_TRUE(WriteKeyEnableMask(ch, image));
    const auto lines = Lines(kb.dir.path() / kSimulatorTraceFile);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d+ set 00 81 00 00 00 00 00 00 7e)")));
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d+ get 00 81 03 00 00 00 00 00 7b)")));
    EXPECT_TRUE(std::regex_match(lines[3], std::regex(R"(\d+ write 00( [0-9a-f]{2}){64})")));
}

TEST(SimulatedKeyboardTest, UnpluggedKeyboardIsAbsentEverywhere) {
    SimulatedKeyboard kb;
    FeatureBuffer report = MakeFeatureReport(cmd::kReadGameMode).bytes;
    EXPECT_EQ(kb.bus->Enumerate().size(), 2u);
    kb.Unplug();
    EXPECT_TRUE(kb.bus->Enumerate().empty());
    const OpenResult r = kb.bus->Open(std::string(kSimulatorCommandPath));
    EXPECT_EQ(r.device, nullptr);
    EXPECT_NE(r.error.find("unplugged"), std::string::npos);
    EXPECT_FALSE(kb.command->SetFeature(report));
    EXPECT_FALSE(kb.command->GetFeature(report));
    BulkPacket packet{};
    EXPECT_FALSE(kb.command->Write(packet));
    EXPECT_EQ(kb.command->Read(packet, 0).status, ReadStatus::Failed);
    kb.Replug();
    EXPECT_TRUE(kb.command->SetFeature(report));
}

TEST(SimulatedKeyboardTest, InputLinesArriveAsReportsInOrder) {
    SimulatedKeyboard kb;
    const auto file = kb.dir.path() / kSimulatorInputFile;
    AppendLine(file, "01 01\n"); // before the open: not delivered
    auto input = kb.bus->Open(std::string(kSimulatorInputPath)).device;
    ASSERT_NE(input, nullptr);

    InputReport report{4, 0, 0, 0};
    EXPECT_EQ(input->Read(report, 30).status, ReadStatus::TimedOut);

    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        AppendLine(file, "02 41\nnot hex\n04 10\n");
        AppendLine(file, "0a 0b"); // no line break yet: not complete
    });
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(input->Read(report, 2000).status, ReadStatus::Ok);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    writer.join();
    EXPECT_EQ(report, (InputReport{4, 2, 0x41, 0}));
    ASSERT_TRUE(input->Read(report, 200).ok());
    EXPECT_EQ(report, (InputReport{4, 4, 0x10, 0}));
    EXPECT_EQ(input->Read(report, 30).status, ReadStatus::TimedOut);
    AppendLine(file, "\n");
    ASSERT_TRUE(input->Read(report, 200).ok());
    EXPECT_EQ(report, (InputReport{4, 0x0a, 0x0b, 0}));

    const auto lines = Lines(kb.dir.path() / kSimulatorTraceFile);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex(R"(\d+ input 04 0a 0b 00)")));
}

TEST(SimulatedKeyboardTest, UnpluggedFileRaisesRemovalAndArrival) {
    SimulatedKeyboard kb;
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<HotplugEvent> events;
    std::string error;
    auto monitor = kb.bus->WatchHotplug(
        [&](HotplugEvent e) {
            std::lock_guard lock(mutex);
            events.push_back(e);
            cv.notify_all();
        },
        error);
    ASSERT_NE(monitor, nullptr) << error;
    auto waitFor = [&](std::size_t n) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, std::chrono::seconds(2), [&] { return events.size() >= n; });
    };
    kb.Unplug();
    ASSERT_TRUE(waitFor(1));
    AppendLine(kb.dir.path() / kSimulatorInputFile, "02 41\n"); // other files: no event
    kb.Replug();
    ASSERT_TRUE(waitFor(2));
    monitor.reset(); // stops and joins its thread
    EXPECT_EQ(events, (std::vector<HotplugEvent>{HotplugEvent::Removal, HotplugEvent::Arrival}));
}

} // namespace
} // namespace orvo
