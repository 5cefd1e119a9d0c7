// Cutting a command sequence short when the program ends: the devices of a stopped bus and an
// interrupted pacer.

#include "device/apply_changes.h"
#include "device/device_lock.h"
#include "device/feature_report.h"
#include "device/stoppable_bus.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvo {
namespace {

std::size_t TraceLines(const std::filesystem::path& dir) {
    std::ifstream in(dir / kSimulatorTraceFile);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

TEST(StoppableBus, AfterStopNothingReachesTheKeyboardAndASaveCommitsNothing) {
    test::TempDir dir;
    std::string error;
    StoppableBus bus(OpenSimulatorBus(dir.path(), error));
    auto command = bus.Open(std::string(kSimulatorCommandPath)).device;
    auto input = bus.Open(std::string(kSimulatorInputPath)).device;
    ASSERT_TRUE(command && input) << error;
    const FeatureBuffer request = MakeFeatureReport(cmd::kReadFirmwareVersion).bytes;
    ASSERT_TRUE(command->SetFeature(request));
    const std::size_t traced = TraceLines(dir.path());
    ASSERT_GT(traced, 0u);

    bus.Stop();
    FeatureBuffer response{};
    BulkPacket packet{};
    EXPECT_FALSE(command->SetFeature(request));
    EXPECT_FALSE(command->GetFeature(response));
    EXPECT_FALSE(command->Write(packet));
    EXPECT_EQ(input->Read(packet, 0).status, ReadStatus::Failed);
    EXPECT_EQ(bus.Open(std::string(kSimulatorCommandPath)).device, nullptr);

    // A Save over it fails as after an unplug: the snapshot stays.
    RecordingPacer pacer;
    CommandChannel channel{*command, pacer};
    SettingsImage image;
    image.byte(field::gameMode) = 1;
    DeviceSnapshot snapshot;
    EXPECT_FALSE(ApplyChanges(channel, image, snapshot).ok);
    EXPECT_EQ(snapshot, DeviceSnapshot{});
    EXPECT_EQ(TraceLines(dir.path()), traced);
}

TEST(RealPacer, AnInterruptedPacerWaitsNoMore) {
    RealPacer pacer;
    std::atomic<bool> returned{false};
    std::thread sleeper([&] {
        pacer.Sleep(600000);
        returned = true;
    });
    pacer.Interrupt();
    sleeper.join();
    EXPECT_TRUE(returned);
    pacer.Sleep(600000); // returns at once, or the test never ends
}

TEST(DeviceLock, AWaitForAnotherProcessEndsWhenTheProgramEnds) {
    test::TempDir dir;
    DeviceLock script(dir.path() / "keyboard.lock", "orvoctl");
    ASSERT_TRUE(script.Acquire());
    DeviceLock window(dir.path() / "keyboard.lock", "ZorvantaOrvo", std::chrono::hours(1));
    bool acquired = true;
    std::thread waiter([&] { acquired = window.Acquire(); });
    window.Abort();
    waiter.join(); // within the hour, or the test never ends
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(window.busyHolder().starts_with("orvoctl (pid ")) << window.busyHolder();
}

} // namespace
} // namespace orvo
