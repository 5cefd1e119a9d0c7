#pragma once
// CBrisoldeApp: the application object. It owns everything the program works on for the
// whole run - the configuration state, the HID bus, the pacer, the keyboard connection, the
// session over them, the worker threads' message sink, the hotplug monitor, the skin's
// ImageStore, the Prompts, the device actions and the main window - and hands each window
// and panel only the references it uses. It handles what the workers and the hotplug monitor
// report, refreshes the window whenever the session replaced the image, and runs the dialogs
// the window asks for. The keyboard's long actions (Save, the factory reset, the keyboard going
// and coming back) run one after the other on the BusyRunner's worker; closing the window
// cuts the running one short. It runs the dialogs the window asks for:
//
//   window signal              dialog (to come)     afterwards
//   keyAssignmentRequested(k)  CKeyMap              on OK Session::AssignKey
//   profilesRequested()        CConfigureDlg        when it ends, refreshFromImage(Dialog)
//   macrosRequested()          CMacroRecordDlg      on OK Session::CommitMacros
//
// Each dialog is created here once, right after the window's first frame (or when first asked
// for, if that comes earlier), gets the references it needs, and is connected to its window
// signal in the constructor. The signals come from a click, whose redraw of the window
// follows once the dialog has ended.

#include "app/first_frame.h"
#include "device/session.h"
#include "model/config_state.h"

#include <QImage>
#include <QObject>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace orvo {

class BusyRunner;
class CBrisoldeDlg;
class CKeyMap;
class DesktopLauncher;
class CMacroRecordDlg;
class CConfigureDlg;
class DeviceActions;
class DialogPrompts;
class GuiMessageSink;
class HidBus;
class HostActionLauncher;
class HotplugMonitor;
class ImageStore;
class KeyboardHook;
class Pacer;
class Prompts;
class SkinPrefetch;
class StoppableBus;

class CBrisoldeApp : public QObject {
    Q_OBJECT
public:
    // What the program runs on; whatever is left empty comes from the environment: the
    // running program's path, the bus ZORVANTA_SIMULATOR names (else the real one), real
    // pauses and real dialogs.
    struct Setup {
        std::filesystem::path executable; // stands for the program's own path
        std::unique_ptr<HidBus> bus;
        std::unique_ptr<Pacer> pacer;
        Prompts* prompts = nullptr;       // not owned
        SkinPrefetch* prefetch = nullptr; // the skin decoded ahead of time
        // Whether the desktop shows tray icons; empty: ask it.
        std::optional<bool> trayAvailable;
        // Started hidden in the tray (the autostart entry's --hidden); ignored without a tray.
        bool startHidden = false;
    };

    // The whole start-up: folders and data files, the main window and its first picture,
    // the hotplug monitor, the keyboard connection with its worker threads, the tray icon.
    explicit CBrisoldeApp(Setup setup);
    ~CBrisoldeApp() override;
    CBrisoldeApp(const CBrisoldeApp&) = delete;
    CBrisoldeApp& operator=(const CBrisoldeApp&) = delete;

    CBrisoldeDlg& window() { return *m_window; }
    ConfigState& config() { return m_config; }
    // The window's first picture was the one kept from the last start.
    bool shownKeptFrame() const { return m_shownKeptFrame; }
    Session& session() { return *m_session; }
    const ImageStore& images() const { return *m_images; }
    Prompts& prompts() { return *m_prompts; }
    CMacroRecordDlg& macroDialog();
    // Where the keyboard's long actions run; busy() while one waits or runs.
    BusyRunner& runner() { return *m_runner; }

    // The window after the session replaced the image from the keyboard (or a dialog did):
    // the session's data part, the sliders and a redraw; after a read-back also the
    // firmware check.
    void refreshFromImage(RefreshCause cause);

    // The key assignment dialog, and where host-side key actions start (tests put their own
    // launcher in place of the desktop's).
    CKeyMap& keyMap();
    void setHostActionLauncher(HostActionLauncher& launcher) { m_launcher = &launcher; }

    // Stops the hotplug monitor, the listener and every worker, and closes the keyboard;
    // safe to call twice.
    void shutdown();

    // orvoctl changed the keyboard or the data files (its "refresh" request): the session
    // re-reads them and the window shows what the script left.
    void reloadAfterScript();

private:
    // A script's change that waited for a dialog or the read-back is taken up now.
    void reloadIfAScriptAsked();
    bool dialogOpen() const;
    void handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void onReadBackDone(std::intptr_t lParam);
    // The two halves of refreshFromImage: the window follows the image, then the user is told
    // about "keymap.bin" and, after a read-back, offered newer firmware.
    void showRefreshed();
    void tellRefreshed(RefreshCause cause, const RefreshResult& result);
    void onDeviceKeyEvent(std::uintptr_t code);
    void onDeviceArrival();
    void onDeviceRemoval();
    void startHotplugMonitor();
    void connectKeyboard(bool startHidden);
    void tellAboutStart(bool keyboardMissing);
    // The test switches' hooks, once, after the first read-back has been shown.
    void scheduleStartupHooks();
    void runStartupHooks();
    // Once the first frame is on screen: the dialogs, the skin's pictures, a fresh composition
    // after a kept first frame, and keeping a newly composed one for the next start.
    void afterFirstFrame();
    std::filesystem::path firstFrameFile() const;
    // Makes the three dialogs; nothing when they exist.
    void createDialogs();
    CConfigureDlg& profilesDialog();
    void openKeyAssignment(int key);
    void finishKeyAssignment(int result);
    // The macro manager: opened on "Macros"; its OK commits the macros and writes both files.
    void openMacroManager();
    void onMacroManagerFinished(int result);

    ConfigState m_config;
    std::unique_ptr<ImageStore> m_images;
    std::unique_ptr<Pacer> m_pacer;
    std::unique_ptr<StoppableBus> m_bus;
    std::unique_ptr<DeviceConnection> m_connection;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<BusyRunner> m_runner;
    std::unique_ptr<DialogPrompts> m_dialogPrompts;
    Prompts* m_prompts = nullptr;
    std::unique_ptr<DeviceActions> m_deviceActions;
    std::unique_ptr<CBrisoldeDlg> m_window;
    // The keyboard hook, held by the key assignment dialog and the macro manager while they
    // take key strokes; the key assignment dialog and the launcher of host-side key actions.
    std::unique_ptr<KeyboardHook> m_hook;
    std::unique_ptr<CKeyMap> m_keyMap;
    std::unique_ptr<DesktopLauncher> m_desktopLauncher;
    HostActionLauncher* m_launcher = nullptr;
    std::unique_ptr<GuiMessageSink> m_sink;
    std::unique_ptr<HotplugMonitor> m_hotplug;
    std::unique_ptr<CMacroRecordDlg> m_macroDialog;
    // The skin's pictures decoded ahead, until handed to the ImageStore; not owned.
    SkinPrefetch* m_prefetch = nullptr;
    FirstFrameKey m_firstFrameKey;
    QImage m_composedFirstFrame; // to keep for the next start (null when it was a kept one)
    bool m_shownKeptFrame = false;
    bool m_scriptRefreshPending = false; // a script's change waits for a dialog or the read-back
    bool m_shutDown = false;
    bool m_startupHooksRun = false;
    // The dialogs, last: each goes before the window it belongs to.
    std::unique_ptr<CConfigureDlg> m_profilesDlg;
};

// The image folder as the application's ImageStore names it (ends with '/').
QString ImageFolderOf(const std::filesystem::path& executable);

} // namespace orvo
