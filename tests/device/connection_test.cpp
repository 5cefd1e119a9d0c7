// The connection's listener and hotplug handlers against the simulated keyboard.

#include "device/connection.h"
#include "model/window_messages.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <thread>

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::SimulatedKeyboard;

struct Message {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const Message&, const Message&) = default;
};

class RecordingSink final : public MessageSink {
public:
    bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({message, wParam, lParam});
        m_cv.notify_all();
        return true;
    }
    bool WaitFor(std::size_t n, std::chrono::milliseconds limit = 2s) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return m_messages.size() >= n; });
    }
    std::vector<Message> messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Message> m_messages;
};

struct ConnectionTest : testing::Test {
    SimulatedKeyboard kb;
    RecordingPacer pacer;
    DeviceConnection connection{*kb.bus, pacer};
    RecordingSink sink;

    void Press(const char* line) {
        std::ofstream(kb.dir.path() / kSimulatorInputFile, std::ios::app) << line << '\n';
    }
    void OpenBoth() {
        ASSERT_TRUE(connection.OpenCommandInterface());
        ASSERT_TRUE(connection.OpenInputInterface());
        ASSERT_TRUE(connection.StartListener(sink));
    }
    bool WaitUntilListenerEnds(std::chrono::milliseconds limit) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (connection.listenerRunning() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(2ms);
        return !connection.listenerRunning();
    }
};

TEST_F(ConnectionTest, ListenerPassesKeyReportsAndDropsKindFour) {
    OpenBoth();
    Press("04 41");
    Press("02 41");
    Press("01 05");
    ASSERT_TRUE(sink.WaitFor(2));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(sink.messages(), (std::vector<Message>{{WM_DEVICE_KEY_EVENT, 0x41, 0},
                                                     {WM_DEVICE_KEY_EVENT, 0x05, 0}}));
}

TEST_F(ConnectionTest, ReportArrivingAroundAWaitsEndIsDeliveredOnce) {
    OpenBoth();
    // Just before and just after the listener's 200 ms waits run out.
    std::this_thread::sleep_for(190ms);
    Press("02 01");
    std::this_thread::sleep_for(220ms);
    Press("02 02");
    ASSERT_TRUE(sink.WaitFor(2));
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(sink.messages(),
              (std::vector<Message>{{WM_DEVICE_KEY_EVENT, 1, 0}, {WM_DEVICE_KEY_EVENT, 2, 0}}));
}

TEST_F(ConnectionTest, KeyboardRemovalStopsListenerAndClosesBoth) {
    OpenBoth();
    kb.Unplug();
    const auto started = std::chrono::steady_clock::now();
    connection.OnRemoval();
    EXPECT_TRUE(WaitUntilListenerEnds(300ms));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 300ms);
    EXPECT_FALSE(connection.commandOpen());
    EXPECT_FALSE(connection.inputOpen());
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{500, 200}));
    EXPECT_FALSE(connection.RunCommands([](CommandChannel&) { return true; }));
}

TEST_F(ConnectionTest, ListenerStopsWithinAWaitWhileTheKeyboardIsIdle) {
    OpenBoth();
    std::this_thread::sleep_for(30ms); // the listener sits in its 200 ms wait
    const auto started = std::chrono::steady_clock::now();
    connection.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 300ms);
    EXPECT_FALSE(connection.listenerRunning());
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{1000}));
}

TEST_F(ConnectionTest, UnrelatedRemovalKeepsTheKeyboardAndItsListener) {
    OpenBoth();
    connection.OnRemoval(); // some other USB device went
    EXPECT_TRUE(connection.commandOpen());
    EXPECT_TRUE(connection.inputOpen());
    EXPECT_EQ(pacer.pauses(), (std::vector<int>{500, 200}));
    Press("02 07");
    ASSERT_TRUE(sink.WaitFor(1));
    EXPECT_EQ(sink.messages().front(), (Message{WM_DEVICE_KEY_EVENT, 7, 0}));
    EXPECT_TRUE(connection.listenerRunning());
}

TEST_F(ConnectionTest, AbsentKeyboardOpensNothing) {
    kb.Unplug();
    std::string error;
    EXPECT_FALSE(connection.OpenCommandInterface(&error));
    EXPECT_FALSE(connection.OpenInputInterface());
    EXPECT_FALSE(connection.StartListener(sink));
    EXPECT_FALSE(connection.listenerRunning());
    EXPECT_EQ(error, "keyboard not found");
    SettingsImage image;
    DeviceSnapshot snapshot;
    EXPECT_FALSE(connection.ApplyChanges(image, snapshot).ok);
}

} // namespace
} // namespace orvo

namespace orvo {
namespace {

TEST(HidapiBusTest, HotplugMonitorStopsPromptlyAndEnumerationIsSafe) {
    auto bus = OpenHidapiBus();
    // Whatever this machine has attached, listing it and looking for the keyboard must work.
    for (const HidInterfaceInfo& info : bus->Enumerate())
        EXPECT_FALSE(info.path.empty());
    std::string error;
    auto monitor = bus->WatchHotplug([](HotplugEvent) {}, error);
    if (!monitor) {
        EXPECT_FALSE(error.empty());
        return; // no udev in this environment
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let it block in poll()
    const auto started = std::chrono::steady_clock::now();
    monitor.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
}

} // namespace
} // namespace orvo
