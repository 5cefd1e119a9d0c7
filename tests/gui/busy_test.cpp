// The keyboard's long actions on the runner's worker: the window keeps painting and takes no
// input while a Save runs; closing it in the middle of the Save waits for the Save, unplugging
// the keyboard ends it cleanly, commits nothing and says what did not happen; the boxes that
// tell a result take input. (That the transfers and pauses of Save, factory reset and arrival
// stay as they were is the golden run's part.)

#include "main_window_fixture.h"

#include "app/busy_runner.h"
#include "app/prompts.h"
#include "controls/bit_slider.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orvo::test {
namespace {

const QString kSaveFailed =
    QStringLiteral("Advertencia|No se pudieron enviar los cambios al teclado");

// Returns at once, like the recording pacer, until armed; then the next pause holds the worker
// until the test opens the gate or the program interrupts the pause.
class GatePacer final : public Pacer {
public:
    void Sleep(int) override {
        std::unique_lock lock(m_mutex);
        if (!m_armed)
            return;
        m_armed = false;
        m_held = true;
        m_changed.wait(lock, [this] { return m_open || m_interrupted; });
        m_held = false;
    }
    void Interrupt() override { set(m_interrupted); }
    void arm() { set(m_armed); }
    void open() { set(m_open); }
    bool held() const {
        std::lock_guard lock(m_mutex);
        return m_held;
    }

private:
    void set(bool& flag) {
        {
            std::lock_guard lock(m_mutex);
            flag = true;
        }
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_armed = false;
    bool m_held = false;
    bool m_open = false;
    bool m_interrupted = false;
};

class BusyTest : public MainWindowTest {
protected:
    BusyTest() {
        auto pacer = std::make_unique<GatePacer>();
        m_gate = pacer.get();
        usePacer(std::move(pacer));
        prompts.answer = true; // every question answered with OK
        usePrompts(prompts);
    }

    // Changes every macro block and clicks Save; returns once the worker is held in the
    // Save's first pause.
    void startLongSave() {
        for (std::size_t n = 0; n < kMacroBlockCount; ++n)
            std::ranges::fill(config().image.macroBlock(n), static_cast<std::uint8_t>(n + 1));
        m_gate->arm();
        clickWithoutWaiting(window(), kSave.x, kSave.y);
        ProcessEventsUntil([&] { return m_gate->held(); });
        ASSERT_TRUE(m_gate->held());
        ASSERT_TRUE(app().runner().working());
    }
    static void clickWithoutWaiting(QWidget& to, int x, int y) {
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const QPointF at(x, y);
            QMouseEvent event(type, at, to.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&to, &event);
        }
    }

    GatePacer* m_gate = nullptr;
    RecordingPrompts prompts;
};

TEST_F(BusyTest, WhileASaveRunsTheWindowPaintsUnderTheWaitCursorAndTakesNoInput) {
    CBrisoldeDlg& w = start();
    startLongSave();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // It still paints: the last picture.
    EXPECT_EQ(w.grab().toImage().convertToFormat(QImage::Format_RGB32),
              w.composedImage().convertToFormat(QImage::Format_RGB32));

    QSignalSpy macros(&w, &CBrisoldeDlg::macrosRequested);
    clickWithoutWaiting(w, kHelpButton.x, kHelpButton.y);
    clickWithoutWaiting(w, kMacrosButton.x, kMacrosButton.y);
    key(Qt::Key_Control);
    CBitSlider& slider = *w.sliders().byId(kBrightnessSlider);
    const int position = slider.value();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &up);
    EXPECT_FALSE(w.state().helpMenuOpen);
    EXPECT_EQ(macros.count(), 0);
    EXPECT_FALSE(w.state().ctrlHeld);
    EXPECT_EQ(slider.value(), position);

    m_gate->open();
    waitUntilIdle();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(config().deviceSnapshot, config().image); // the Save was committed
    EXPECT_TRUE(prompts.warnings.empty());
    click(kHelpButton.x, kHelpButton.y);
    EXPECT_TRUE(w.state().helpMenuOpen);
}

TEST_F(BusyTest, ClosingTheWindowDuringASaveLetsItFinishSoTheKeyboardIsNotLeftDark) {
    start();
    startLongSave();
    // Closing waits for the Save, whether the gate opens before or while it waits.
    std::thread opener([this] { m_gate->open(); });
    window().close(); // the window manager's close ends the program
    opener.join();
    EXPECT_FALSE(app().runner().busy());
    EXPECT_EQ(config().deviceSnapshot, config().image);
    EXPECT_EQ(config().deviceSnapshot.macroBlock(kMacroBlockCount - 1)[0], kMacroBlockCount);
    const auto file = FileBytes(keymapFile());
    ASSERT_GT(file.size(), field::macroBlocks.offset);
    EXPECT_EQ(file[field::macroBlocks.offset], 1u);
    EXPECT_TRUE(prompts.warnings.empty());
    app().shutdown();
}

TEST_F(BusyTest, UnplugDuringASaveFailsItKeepsTheEditsAndSaysSo) {
    CBrisoldeDlg& w = start();
    const SettingsImage snapshot = config().deviceSnapshot;
    startLongSave();
    unplug();
    m_gate->open();
    ProcessEventsUntil([&] { return !w.keyboardConnected(); });
    waitUntilIdle();
    EXPECT_FALSE(w.keyboardConnected());
    EXPECT_EQ(config().deviceSnapshot, snapshot);
    EXPECT_EQ(config().image.macroBlock(kMacroBlockCount - 1)[0], kMacroBlockCount);
    EXPECT_EQ(prompts.warnings, std::vector<QString>{kSaveFailed});
}

TEST(BusyRunnerTest, TheBoxesThatTellAResultTakeInputAndTheNextActionWaitsForThem) {
    QWidget window;
    auto* box = new QLineEdit(&window); // stands for a message box over the window
    BusyRunner runner([] {});
    runner.setWindow(&window);
    std::vector<std::string> order;
    bool typed = false;
    BusyRunner::Action first;
    first.work = [&] { order.push_back("work 1"); };
    first.tell = [&] {
        runner.run({[&] { order.push_back("work 2"); }, nullptr, nullptr});
        QCoreApplication::processEvents(); // a box's own event loop: the second must not start
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(box, &key);
        typed = box->text() == QStringLiteral("a");
        order.push_back("told 1");
    };
    runner.run(std::move(first));
    ProcessEventsUntil([&] { return !runner.busy(); });
    EXPECT_TRUE(typed);
    EXPECT_EQ(order, (std::vector<std::string>{"work 1", "told 1", "work 2"}));
}

} // namespace
} // namespace orvo::test
