#pragma once
// CBrisoldeDlg: the program's borderless main window. It owns the configuration state, the
// keyboard connection and the six sliders, composes its whole picture off-screen and routes
// every click by hand (see ClickDispatcher and MainWindowComposer). While the keyboard is
// missing it stays hidden and only the tray icon shows.

#include "app/click_dispatcher.h"
#include "app/device_actions.h"
#include "app/lighting_panel.h"
#include "app/main_sliders.h"
#include "app/main_window_state.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

class QMenu;

namespace orvo {

class DeviceConnection;
class GuiMessageSink;
class HidBus;
class HotplugMonitor;
class ImageStore;
class MainWindowComposer;
class Pacer;
class SkinPrefetch;
struct ConfigState;

inline constexpr auto kMainWindowTitle = u"Zorvanta Orvo";
inline constexpr auto kKeyboardMissingText = u"¡Teclado no detectado!";
inline constexpr auto kWarningCaption = u"Advertencia";
inline constexpr auto kNotificationFailedText =
    u"Cannot register for Wdm2 class device notification";
inline constexpr auto kSaveFailedText = u"No se pudieron enviar los cambios al teclado";
inline constexpr auto kQuitMenuText = u"Salir";
inline constexpr auto kAboutMenuText = u"About Brisolde(&A)...";

// The image folder as the window's ImageStore names it (ends with '/').
QString ImageFolderOf(const std::filesystem::path& executable);

// Dialogs that come with later work hook in here; each is empty until it is set.
struct MainWindowHooks {
    // A key clicked in Keymap mode (key index).
    std::function<void(int key)> assignKey;
    std::function<void()> openProfiles;
    std::function<void()> openMacros;
};

class CBrisoldeDlg : public QWidget, private MainWindowCommands {
    Q_OBJECT
public:
    // Builds the window and runs the whole start-up: folders, files, sliders, connection,
    // worker threads and tray icon. The keyboard and the data folder come from the
    // environment (ZORVANTA_SIMULATOR, ZORVANTA_DATA_DIR).
    // `executable` stands for the program's own path (tests use the build's bin folder);
    // empty means the running program's.
    // `prefetch`, when given, holds the skin decoded ahead of time.
    explicit CBrisoldeDlg(std::filesystem::path executable = {}, SkinPrefetch* prefetch = nullptr,
                          QWidget* parent = nullptr);
    ~CBrisoldeDlg() override;

    // Composes the whole window off-screen and schedules one copy to the screen.
    void RedrawMainWindow();
    // The composed picture of the last redraw (size of "main.png").
    const QImage& composedImage() const { return m_canvas; }
    // Composes afresh and returns the picture (for screenshots and tests).
    QImage composeNow();

    // Reads one slider's position into its image field and paints it on the canvas.
    void DrawSlider(int controlId, QPainter& canvas);
    // Sets a slider's position without touching the image.
    void setSliderPosition(int controlId, int position);
    // The brightness, speed, report-rate and response-time sliders (and with allSix the two
    // palm-rest ones) from the image; after a factory reset or an arrival the response time
    // shows its value - 1.
    void setSlidersFromImage(bool allSix, bool responseTimeMinusOne);

    // Message handlers of the worker threads (delivered on the UI thread).
    void onReadBackDone(std::intptr_t lParam);
    void onDeviceKeyEvent(std::uintptr_t code);
    void onSliderChanged(int controlId);
    // Hotplug handlers, run on the UI thread.
    void onDeviceArrival();
    void onDeviceRemoval();

    // Brings the window to the front (restored), as a second start of the program asks.
    void showFromOutside();
    // Tray double click: the window, or the balloon while the keyboard is missing.
    void trayDoubleClicked();
    void showAbout();

    bool keyboardConnected() const;
    // The keyboard was missing at start-up, so the window starts hidden.
    bool startsHidden() const { return m_startHidden; }
    // The start-up read-back has not reported its end yet.
    bool readBackPending() const { return m_readBackPending; }
    bool writeKeymapFile();

    ConfigState& config() { return *m_config; }
    MainWindowState& state() { return m_state; }
    const ImageStore& images() const { return *m_images; }
    ImageStore& images() { return *m_images; }
    MainSliders& sliders() { return m_sliders; }
    DeviceConnection& connection() { return *m_connection; }
    LightingPanel& lighting() { return *m_lighting; }
    DeviceActions& deviceActions() { return *m_deviceActions; }
    MainWindowHooks& hooks() { return m_hooks; }
    QSystemTrayIcon* trayIcon() const { return m_tray; }

    // Stops the listener, joins every worker and closes the keyboard; safe to call twice.
    void shutdown();

Q_SIGNALS:
    // The window ended (close button or "Salir"): the program exits.
    void finished();
    // A Save could not reach the keyboard; emitted after the warning box was closed.
    void saveFailed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    // MainWindowCommands: what the click dispatcher asks of the window.
    void redraw() override { RedrawMainWindow(); }
    void minimise() override;
    void closeProgram() override;
    void cancelChanges() override;
    void saveChanges() override;
    void openProfiles() override;
    void openMacros() override;
    void assignKey(int key) override;
    void startWindowMove(Point pressPoint) override;
    void helpItem(int item) override;

    void initialise(const std::filesystem::path& executable, SkinPrefetch* prefetch);
    void handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void runStartupHooks();
    void createSliders();
    void createTrayIcon();
    void startHotplugMonitor();
    void connectKeyboard();
    void paintSliderNow(int controlId);
    void endDialog();

    MainWindowState m_state;
    std::unique_ptr<ConfigState> m_config;
    std::unique_ptr<ImageStore> m_images;
    std::unique_ptr<Pacer> m_pacer;
    std::unique_ptr<HidBus> m_bus;
    std::unique_ptr<DeviceConnection> m_connection;
    std::unique_ptr<GuiMessageSink> m_sink;
    std::unique_ptr<HotplugMonitor> m_hotplug;
    MainSliders m_sliders;
    std::array<int, kSliderSpecs.size()> m_lastSliderPosition{};
    std::unique_ptr<LightingPanel> m_lighting;
    std::unique_ptr<DeviceActions> m_deviceActions;
    std::unique_ptr<MainWindowComposer> m_composer;
    std::unique_ptr<ClickDispatcher> m_dispatcher;
    MainWindowHooks m_hooks;

    QImage m_canvas;
    QPointer<QSystemTrayIcon> m_tray;
    QMenu* m_trayMenu = nullptr;
    bool m_shutDown = false;
    bool m_ended = false;
    bool m_startHidden = false;
    bool m_readBackPending = false;
    bool m_startupHooksRun = false;
    bool m_firstFramePainted = false;
    bool m_movingWindow = false;
    QPoint m_moveOffset;
    QPoint m_lastGlobalPos;
};

} // namespace orvo
