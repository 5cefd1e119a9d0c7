#pragma once
// CBrisoldeDlg: the program's borderless main window. It composes its whole picture
// off-screen, routes every click by hand (ClickDispatcher, MainWindowComposer and the panels)
// and runs its own buttons through the session. The application object (CBrisoldeApp) owns
// it and everything it works on, refreshes it when the image is replaced, and runs the
// dialogs the window asks for through its signals. With a tray, the window hides (minimise,
// Cancel) and stays hidden while the keyboard is missing, and the tray icon brings it back.
// Without one (many desktops have none) the window is never lost: it minimises instead, stays
// shown after Cancel, and shows even without the keyboard.

#include "app/click_dispatcher.h"
#include "app/main_sliders.h"
#include "app/main_window_state.h"

#include <QImage>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

namespace orvo {

class BusyRunner;
class DeviceActions;
class ImageStore;
class LightingPanel;
class MainWindowComposer;
class Prompts;
class Session;
class SkinnedWindow;
class TrayMenu;
struct ConfigState;

inline constexpr auto kMainWindowTitle = u"Zorvanta Orvo";
inline constexpr auto kKeyboardMissingText = u"¡Teclado no detectado!";
inline constexpr auto kSaveFailedText = u"No se pudieron enviar los cambios al teclado";
inline constexpr auto kAboutMenuText = u"About Brisolde(&A)...";

class CBrisoldeDlg : public QWidget, private MainWindowCommands {
    Q_OBJECT
public:
    // The window over the application's session, skin pictures, questions, device actions
    // and the runner of the keyboard's long actions (Save goes there), all of which outlive
    // it; `hasTray` says whether the desktop shows tray icons.
    CBrisoldeDlg(Session& session, ImageStore& images, Prompts& prompts,
                 DeviceActions& deviceActions, BusyRunner& runner, bool hasTray,
                 QWidget* parent = nullptr);
    ~CBrisoldeDlg() override;

    // Composes the whole window off-screen and schedules one copy to the screen. After the
    // image was replaced, the values the window shows go back into it first (ReplaceImage).
    void RedrawMainWindow();
    // Shows `picture`, composed earlier from exactly what the window would compose now, until
    // the next redraw composes afresh.
    void ShowKeptFrame(const QImage& picture);
    // The composed picture of the last redraw (size of "main.png").
    const QImage& composedImage() const { return m_canvas; }
    // Composes afresh and returns the picture (for screenshots and tests).
    QImage composeNow();

    // The session replaced the image: the sliders and the DIY mode follow it as `change`
    // says, and what the sliders then show goes back into the image once, at the next
    // redraw (which every caller runs next). The only way the window takes a new image.
    void ReplaceImage(ImageChange change);
    // Moves a slider as the user would; its field follows.
    void setSliderPosition(int controlId, int position);

    // Brings the window to the front (restored), as a second start of the program asks.
    void showFromOutside();
    // Tray double click: the window, or the balloon while the keyboard is missing.
    void trayDoubleClicked();
    void showAbout();
    // Ends the window (close button, "Salir", the window manager): the program exits.
    void end();

    // The keyboard as the window was last told about it (asking the connection would wait for
    // an action that holds it).
    bool keyboardConnected() const { return !m_state.keyboardMissing; }
    // The keyboard went or came back: the top strip says so while it is away.
    void setKeyboardMissing(bool missing);
    // The desktop shows tray icons, so a hidden window can be brought back.
    bool hasTray() const { return m_hasTray; }
    // The window starts hidden in the tray (the keyboard was missing, or the program was
    // started hidden); never without a tray.
    bool startsHidden() const { return m_startHidden; }
    void setStartsHidden(bool hidden) { m_startHidden = hidden && m_hasTray; }
    // The start-up read-back fills the image: the window neither reads nor changes it, and
    // takes no clicks, until the read-back has been handled.
    bool readBackPending() const { return m_readBackPending; }
    void setReadBackPending(bool pending) { m_readBackPending = pending; }
    // The image belongs to a worker now (the start-up read-back, or a Save, reset or
    // reconnection on the runner): the window shows its last picture and keeps off the image.
    bool imageAway() const;

    ConfigState& config();
    MainWindowState& state() { return m_state; }
    const ImageStore& images() const { return m_images; }
    ImageStore& images() { return m_images; }
    MainSliders& sliders() { return m_sliders; }
    LightingPanel& lighting() { return *m_lighting; }
    DeviceActions& deviceActions() { return m_deviceActions; }
    // Null without a tray.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    TrayMenu* trayMenu() const { return m_trayMenu; }

Q_SIGNALS:
    // The window's first picture is on the screen (emitted once).
    void firstFramePainted();
    // The window ended (close button or "Salir"): the program exits.
    void finished();
    // A Save could not reach the keyboard; emitted after the warning box was closed.
    void saveFailed();
    // The dialogs the application object runs: a key clicked in Keymap mode (key index),
    // "Perfil" and "Macros".
    void keyAssignmentRequested(int key);
    void profilesRequested();
    void macrosRequested();

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

    void createSliders();
    void createTrayIcon();
    void onSliderMoved(int controlId, int position);
    void settleImage();

    Session& m_session;
    ImageStore& m_images;
    Prompts& m_prompts;
    DeviceActions& m_deviceActions;
    BusyRunner& m_runner;
    MainWindowState m_state;
    MainSliders m_sliders;
    SkinnedWindow* m_skin = nullptr; // owned as a child object
    std::unique_ptr<LightingPanel> m_lighting;
    std::unique_ptr<MainWindowComposer> m_composer;
    std::unique_ptr<ClickDispatcher> m_dispatcher;

    QImage m_canvas;
    QPointer<QSystemTrayIcon> m_tray;
    TrayMenu* m_trayMenu = nullptr;
    bool m_hasTray = false;
    bool m_ended = false;
    bool m_startHidden = false;
    bool m_readBackPending = false;
    // The image was replaced; the next redraw stores what the window shows back into it.
    bool m_settleDue = false;
    bool m_firstFramePainted = false;
};

} // namespace orvo
