#include "app/gui_message_sink.h"
#include "main_window_fixture.h"

#include <QThread>

#include <atomic>
#include <thread>

namespace orvo::test {
namespace {

TEST(GuiMessageSinkTest, RunsTheHandlerOnTheUiThreadWhileTheWorkerWaits) {
    std::atomic<bool> handled{false};
    QThread* handlerThread = nullptr;
    GuiMessageSink sink([&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        EXPECT_EQ(message, 0x77Bu);
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(lParam, 1);
        handlerThread = QThread::currentThread();
        handled = true;
    });
    std::atomic<bool> sent{false};
    bool result = false;
    std::thread worker([&] {
        result = sink.Send(0x77B, 0, 1);
        // The send returned only after the handler ran.
        EXPECT_TRUE(handled.load());
        sent = true;
    });
    ProcessEventsUntil([&] { return sent.load(); }, 5000);
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(handlerThread, QThread::currentThread());
}

TEST(GuiMessageSinkTest, ReleaseFreesAWaitingWorkerAndLaterSendsReturnAtOnce) {
    std::atomic<int> calls{0};
    GuiMessageSink sink([&](std::uint32_t, std::uintptr_t, std::intptr_t) { ++calls; });
    std::atomic<bool> returned{false};
    bool result = true;
    // The UI thread processes no events meanwhile, so only the release can end the send.
    std::thread worker([&] {
        result = sink.Send(0x778, 0x41, 0);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(returned.load());
    sink.release();
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(sink.Send(0x778, 0x41, 0));
    // The queued call of the released send never reaches the handler.
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.load(), 0);
}

} // namespace
} // namespace orvo::test
