#pragma once
// The program's application object and main window against a simulated keyboard in a
// temporary folder, with pauses recorded instead of waited for, and helpers that drive the
// window by synthesized mouse and key events at window coordinates.

#include "app/application.h"
#include "app/brisolde_dlg.h"
#include "app/busy_runner.h"
#include "app/prompts.h"
#include "device/pacer.h"
#include "device/simulated_keyboard.h"
#include "model/config_files.h"
#include "model/config_state.h"
#include "model/window_layout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace orvo::test {

inline void ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Points inside the main window's controls (window coordinates) that the tests click.
inline constexpr Point kSave{950, 604};
inline constexpr Point kEffectSelector{100, 124};
inline constexpr Point kGameModeSwitch{120, 578};
inline constexpr Point kWinLockSwitch{258, 578};
inline constexpr Point kHelpButton{944, 12};
inline constexpr Point kMacrosButton{144, 612};

// The middle of key k's rectangle in the window.
inline Point KeyPoint(std::size_t key) {
    const InclusiveRect r = KeyPictureTable[key].rect;
    return {kKeyboardOrigin.x + (r.left + r.right) / 2, kKeyboardOrigin.y + (r.top + r.bottom) / 2};
}

// The build folder (the parent of the programs' folder), where tests leave pictures to look at.
inline std::filesystem::path BuildFolder() {
    return std::filesystem::path(qEnvironmentVariable("ORVO_BIN_DIR").toStdString()).parent_path();
}

// Saves `picture` as `name` in the build folder.
inline void SavePicture(const QImage& picture, const char* name) {
    ASSERT_FALSE(picture.isNull()) << name;
    EXPECT_TRUE(picture.save(QString::fromStdString((BuildFolder() / name).string()))) << name;
}

inline std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::vector<std::uint8_t> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Answers every question alike and keeps what the boxes said, as "caption|text".
struct RecordingPrompts : Prompts {
    bool answer = false;
    std::vector<QString> warnings;
    bool confirm(const QString&, const QString&) override { return answer; }
    void warn(const QString& caption, const QString& text) override {
        warnings.push_back(caption + u'|' + text);
    }
    std::optional<ColorRef> pickColour(ColorRef) override { return std::nullopt; }
    int count(const QString& start) const {
        return static_cast<int>(
            std::ranges::count_if(warnings, [&](const QString& w) { return w.startsWith(start); }));
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        std::random_device rd;
        m_root = std::filesystem::temp_directory_path() /
                 ("orvo-app-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_root);
        qputenv("ZORVANTA_SIMULATOR", QByteArray::fromStdString(simulator().string()));
        qputenv("ZORVANTA_DATA_DIR", QByteArray::fromStdString(data().string()));
    }
    ~MainWindowTest() override {
        m_app.reset();
        qunsetenv("ZORVANTA_SIMULATOR");
        qunsetenv("ZORVANTA_DATA_DIR");
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }

    std::filesystem::path simulator() const { return m_root / "sim"; }
    std::filesystem::path data() const { return m_root / "data"; }
    std::filesystem::path trace() const { return simulator() / kSimulatorTraceFile; }
    std::filesystem::path keymapFile() const { return data() / kKeymapFileName; }
    static std::filesystem::path executable() {
        return std::filesystem::path(qEnvironmentVariable("ORVO_BIN_DIR").toStdString()) /
               "ZorvantaOrvo";
    }

    void unplug() {
        std::filesystem::create_directories(simulator());
        std::ofstream(simulator() / kSimulatorUnpluggedFile).put('\n');
    }

    // The questions of the program the next start() makes are answered by `prompts`.
    void usePrompts(Prompts& prompts) { m_prompts = &prompts; }
    // The pauses of the next start() go through `pacer` instead of the recording one.
    void usePacer(std::unique_ptr<Pacer> pacer) { m_ownPacer = std::move(pacer); }
    // Whether the desktop of the next start() shows tray icons (it does unless told).
    void useTray(bool available) { m_tray = available; }

    // Starts the program and waits for the start-up read-back to be handled.
    CBrisoldeDlg& start(bool show = true) {
        CBrisoldeDlg& w = launch(show);
        ProcessEventsUntil([&] { return !w.readBackPending(); });
        QCoreApplication::processEvents();
        return w;
    }
    // Starts the program and returns before any event is handled: the window shows its first
    // picture.
    CBrisoldeDlg& launch(bool show = true) {
        CBrisoldeApp::Setup setup;
        setup.executable = executable();
        if (m_ownPacer) {
            setup.pacer = std::move(m_ownPacer);
        } else {
            auto pacer = std::make_unique<RecordingPacer>();
            m_pacer = pacer.get();
            setup.pacer = std::move(pacer);
        }
        setup.prompts = m_prompts;
        setup.trayAvailable = m_tray;
        m_app = std::make_unique<CBrisoldeApp>(std::move(setup));
        CBrisoldeDlg& w = m_app->window();
        if (show && !w.startsHidden())
            w.show();
        return w;
    }
    // Ends the program as its window's "Salir" would.
    void stop() { m_app.reset(); }
    CBrisoldeApp& app() { return *m_app; }
    // Every pause the program made so far, in order.
    std::vector<int> pauses() const { return m_pacer->pauses(); }
    CBrisoldeDlg& window() { return m_app->window(); }
    ConfigState& config() { return m_app->config(); }

    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::NoButton) {
        const QPointF at(x, y);
        QMouseEvent event(type, at, window().mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window(), &event);
    }
    void press(int x, int y) {
        mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    void moveHeld(int x, int y) { mouse(QEvent::MouseMove, x, y, Qt::LeftButton); }
    void hover(int x, int y) { mouse(QEvent::MouseMove, x, y, Qt::NoButton); }
    // Releases the button and waits for what the click started on the runner (a Save, a
    // factory reset) to end.
    void release(int x, int y) {
        mouse(QEvent::MouseButtonRelease, x, y, Qt::NoButton, Qt::LeftButton);
        waitUntilIdle();
    }
    // Every keyboard action waiting or running has ended and been applied.
    void waitUntilIdle() {
        ProcessEventsUntil([&] { return !m_app->runner().busy(); });
    }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    void key(int code, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, code, Qt::NoModifier);
        QCoreApplication::sendEvent(&window(), &event);
    }

    // The window as it is composed now, once the sliders have painted their places, saved in
    // the build folder as `name`.
    static void SaveWindowPicture(CBrisoldeDlg& w, const char* name) {
        ProcessEventsUntil([] { return false; }, 100);
        SavePicture(w.composeNow(), name);
    }

    std::size_t traceLinesNow() const { return ReadLines(trace()).size(); }
    std::vector<std::string> traceSince(std::size_t from) const {
        auto lines = ReadLines(trace());
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(std::min(from, lines.size())));
        return lines;
    }

private:
    std::filesystem::path m_root;
    Prompts* m_prompts = nullptr;
    bool m_tray = true;
    std::unique_ptr<Pacer> m_ownPacer;
    RecordingPacer* m_pacer = nullptr; // owned by the application
    std::unique_ptr<CBrisoldeApp> m_app;
};

} // namespace orvo::test
