#include "app/application.h"

#include "app/brisolde_dlg.h"
#include "app/busy_runner.h"
#include "app/device_actions.h"
#include "app/file_warnings.h"
#include "app/gui_message_sink.h"
#include "app/host_action_launcher.h"
#include "app/prompts.h"
#include "app/skin_prefetch.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "device/hid.h"
#include "device/pacer.h"
#include "device/stoppable_bus.h"
#include "keymap/c_key_map.h"
#include "macro/c_macro_record_dlg.h"
#include "macro/keyboard_hook.h"
#include "model/first_frame_file.h"
#include "model/key_assignment.h"
#include "model/log.h"
#include "model/window_messages.h"
#include "profiles/c_configure_dlg.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

namespace orvo {

namespace {

// Hidden switches for scripts: a screenshot of the window after the first read-back (then the
// program ends), and a click at "x,y" just before it.
constexpr const char* kScreenshotVariable = "ZORVANTA_SCREENSHOT";
constexpr const char* kTestClickVariable = "ZORVANTA_TEST_CLICK";

inline constexpr auto kNotificationFailedText =
    u"Cannot register for Wdm2 class device notification";

QString ImageFolderString(const ProgramFolders& folders) {
    return QString::fromStdString((folders.imageFolder / "").string());
}

} // namespace

QString ImageFolderOf(const std::filesystem::path& executable) {
    return ImageFolderString(ProgramFoldersFromEnvironment(executable));
}

CBrisoldeApp::CBrisoldeApp(Setup setup) {
    if (setup.executable.empty())
        setup.executable = QCoreApplication::applicationFilePath().toStdString();
    m_config.folders = ProgramFoldersFromEnvironment(setup.executable);
    m_images = std::make_unique<ImageStore>(ImageFolderString(m_config.folders));
    m_images->setCaching(true);

    m_pacer = setup.pacer ? std::move(setup.pacer) : std::make_unique<RealPacer>();
    m_bus = std::make_unique<StoppableBus>(setup.bus ? std::move(setup.bus)
                                                     : OpenHidBusFromEnvironment());
    m_connection = std::make_unique<DeviceConnection>(*m_bus, *m_pacer);
    // Shared with orvoctl: the two never talk to the keyboard at the same time.
    m_connection->useDeviceLock(MakeKeyboardLock("ZorvantaOrvo"));
    m_session = std::make_unique<Session>(m_config, *m_connection);
    // Cutting an action short: its transfers fail at once and its pauses end, as after an
    // unplug.
    m_runner = std::make_unique<BusyRunner>([this] {
        m_bus->Stop();
        m_pacer->Interrupt();
        m_connection->AbortLockWait();
    });
    // "keymap.bin" goes into the image before the read-back thread starts, so that the
    // keyboard's values win over the file's.
    m_session->LoadDataFiles();

    // When the start-up picture of the last start was made from exactly what this one shows,
    // it is the first frame: nothing is decoded or composed before the window is on screen.
    m_firstFrameKey = MakeFirstFrameKey(m_config, m_images->folder(),
                                        QString::fromStdString(setup.executable.string()));
    const QImage keptFrame = CachedFirstFrame(firstFrameFile(), m_firstFrameKey);
    m_prefetch = setup.prefetch;
    if (keptFrame.isNull() && m_prefetch)
        m_prefetch->start();

    m_dialogPrompts = std::make_unique<DialogPrompts>(m_images->folder());
    m_prompts = setup.prompts ? setup.prompts : m_dialogPrompts.get();
    m_deviceActions = std::make_unique<DeviceActions>(*m_session, *m_prompts, *m_runner);
    const bool hasTray = setup.trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    m_window = std::make_unique<CBrisoldeDlg>(*m_session, *m_images, *m_prompts, *m_deviceActions,
                                              *m_runner, hasTray);
    m_dialogPrompts->setOwner(m_window.get());
    m_runner->setWindow(m_window.get());
    // Closing the window ends what the keyboard is doing, and the user hears what did not
    // happen, before the program quits.
    connect(m_window.get(), &CBrisoldeDlg::finished, m_runner.get(), &BusyRunner::stop);
    connect(m_deviceActions.get(), &DeviceActions::imageReplaced, m_window.get(),
            [this](ImageChange change) {
                m_window->ReplaceImage(change);
                m_window->RedrawMainWindow();
            });

    // The dialogs are made once the first frame is on screen (or when first asked for).
    m_hook = std::make_unique<KeyboardHook>();
    m_desktopLauncher = std::make_unique<DesktopLauncher>();
    m_launcher = m_desktopLauncher.get();
    connect(m_window.get(), &CBrisoldeDlg::keyAssignmentRequested, this,
            &CBrisoldeApp::openKeyAssignment);
    connect(m_window.get(), &CBrisoldeDlg::macrosRequested, this, &CBrisoldeApp::openMacroManager);
    // "Perfil": an opened profile shows as soon as the profile manager ends (no pause needed).
    connect(m_window.get(), &CBrisoldeDlg::profilesRequested, this,
            [this] { profilesDialog().openOver(m_window->frameGeometry()); });
    connect(m_window.get(), &CBrisoldeDlg::firstFramePainted, this, &CBrisoldeApp::afterFirstFrame,
            Qt::QueuedConnection);

    m_sink = std::make_unique<GuiMessageSink>(
        [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            handleMessage(message, wParam, lParam);
        });
    startHotplugMonitor();

    // The first picture shows "keymap.bin"; it is composed before the read-back thread
    // starts writing the image, and stays until the read-back has been handled.
    m_window->ReplaceImage(ImageChange::ReadBack);
    if (!keptFrame.isNull()) {
        m_window->ShowKeptFrame(keptFrame);
        m_shownKeptFrame = true;
    } else {
        if (m_prefetch)
            m_prefetch->deliverTo(*m_images);
        m_prefetch = nullptr;
        m_window->RedrawMainWindow();
        m_composedFirstFrame = m_window->composedImage();
    }

    connectKeyboard(setup.startHidden);
}

CBrisoldeApp::~CBrisoldeApp() {
    shutdown();
}

void CBrisoldeApp::startHotplugMonitor() {
    std::string error;
    m_hotplug = m_bus->WatchHotplug(
        [this](HotplugEvent event) {
            // Called on the monitor's thread: the handlers run on the UI thread.
            QMetaObject::invokeMethod(
                this,
                [this, event] {
                    if (event == HotplugEvent::Arrival)
                        onDeviceArrival();
                    else
                        onDeviceRemoval();
                },
                Qt::QueuedConnection);
        },
        error);
    if (m_hotplug)
        return;
    LogWarning("hotplug: " + error);
    // Not modal: start-up goes on and the program runs without reconnecting.
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf16(kMainWindowTitle),
                                QString::fromUtf16(kNotificationFailedText), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void CBrisoldeApp::connectKeyboard(bool startHidden) {
    m_window->setReadBackPending(true);
    const ConnectResult result = m_session->Connect(*m_sink);
    if (!result.commandOpen)
        m_window->setReadBackPending(false);
    if (!result.error.empty())
        LogWarning("keyboard: " + result.error);
    m_window->setKeyboardMissing(!result.commandOpen);
    // Hidden only where the tray can bring the window back.
    m_window->setStartsHidden(startHidden || !result.connected());
    // Told once the window is up, not from inside the start-up.
    QTimer::singleShot(0, this, [this, missing = !result.connected()] { tellAboutStart(missing); });
}

void CBrisoldeApp::tellAboutStart(bool keyboardMissing) {
    WarnAboutUnreadableFiles(*m_prompts, m_config);
    // Without a tray there is no balloon: the window says it.
    if (keyboardMissing && !m_window->hasTray())
        m_prompts->warn(ToQString(kWarningCaption), ToQString(kKeyboardMissingText));
}

// --- Messages of the workers ---------------------------------------------------------------

void CBrisoldeApp::handleMessage(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    // Both read the configuration, so they wait for an action that holds it.
    m_runner->whenIdle([this, message, wParam, lParam] {
        if (message == WM_READBACK_DONE)
            onReadBackDone(lParam);
        else if (message == WM_DEVICE_KEY_EVENT)
            onDeviceKeyEvent(wParam);
    });
}

void CBrisoldeApp::onReadBackDone(std::intptr_t lParam) {
    m_window->setReadBackPending(false);
    refreshFromImage(lParam == 0 ? RefreshCause::ReadBack : RefreshCause::Dialog);
    reloadIfAScriptAsked();
    scheduleStartupHooks();
}

void CBrisoldeApp::scheduleStartupHooks() {
    if (m_startupHooksRun)
        return;
    m_startupHooksRun = true;
    // After the handler returned, so the read-back thread is not kept waiting.
    QTimer::singleShot(0, this, &CBrisoldeApp::runStartupHooks);
}

void CBrisoldeApp::refreshFromImage(RefreshCause cause) {
    const RefreshResult result = m_session->Refresh(cause);
    showRefreshed();
    tellRefreshed(cause, result);
}

void CBrisoldeApp::showRefreshed() {
    m_window->ReplaceImage(ImageChange::ReadBack);
    m_window->RedrawMainWindow();
}

void CBrisoldeApp::tellRefreshed(RefreshCause cause, const RefreshResult& result) {
    WarnIfNotWritten(*m_prompts, m_config, DataFile::Keymap, result.keymap);
    if (cause == RefreshCause::ReadBack)
        m_deviceActions->checkFirmware();
}

void CBrisoldeApp::runStartupHooks() {
    CBrisoldeDlg& window = *m_window;
    const QByteArray click = qgetenv(kTestClickVariable);
    if (!click.isEmpty()) {
        const QList<QByteArray> xy = click.split(',');
        if (xy.size() == 2) {
            const QPointF at(xy[0].toInt(), xy[1].toInt());
            const QPointF global = window.mapToGlobal(at);
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &release);
        }
    }
    const QString screenshot = qEnvironmentVariable(kScreenshotVariable);
    if (!screenshot.isEmpty()) {
        if (!window.grab().save(screenshot))
            LogWarning("screenshot: cannot write " + screenshot.toStdString());
        window.end();
    }
}

void CBrisoldeApp::onDeviceKeyEvent(std::uintptr_t code) {
    LogTrace("device key event " + std::to_string(code));
    RunHostActionFor(m_config.keyActions, static_cast<std::uint32_t>(code), *m_launcher);
}

// --- After the first frame -----------------------------------------------------------------

std::filesystem::path CBrisoldeApp::firstFrameFile() const {
    return m_config.folders.dataFolder / kFirstFrameFileName;
}

void CBrisoldeApp::afterFirstFrame() {
    if (m_prefetch)
        m_prefetch->start(); // decodes while the dialogs are made
    createDialogs();
    if (m_prefetch)
        m_prefetch->deliverTo(*m_images);
    m_prefetch = nullptr;
    // The kept frame stands for a composition that has not happened: the sliders' values go
    // back into the image and the picture is composed now, unless the read-back holds the
    // image (its refresh composes then).
    if (m_shownKeptFrame)
        m_window->RedrawMainWindow();
    if (!m_composedFirstFrame.isNull()) {
        if (const FileResult kept =
                KeepFirstFrame(firstFrameFile(), m_firstFrameKey, m_composedFirstFrame);
            !kept)
            LogWarning("first frame: " + kept.error);
        m_composedFirstFrame = {};
    }
}

// --- Dialogs ------------------------------------------------------------------------------

void CBrisoldeApp::createDialogs() {
    if (m_keyMap)
        return;
    m_keyMap = std::make_unique<CKeyMap>(*m_images, m_config, *m_prompts, *m_hook, m_window.get());
    connect(m_keyMap.get(), &QDialog::finished, this, &CBrisoldeApp::finishKeyAssignment);
    m_macroDialog = std::make_unique<CMacroRecordDlg>(
        *m_images, *m_prompts, *m_hook, &std::chrono::steady_clock::now, m_window.get());
    connect(m_macroDialog.get(), &QDialog::finished, this, &CBrisoldeApp::onMacroManagerFinished);
    m_profilesDlg =
        std::make_unique<CConfigureDlg>(*m_session, *m_images, *m_prompts, m_window.get());
    connect(m_profilesDlg.get(), &QDialog::finished, this, [this] {
        // A close from the window manager is no input the runner holds back.
        if (!m_shutDown)
            m_runner->whenIdle([this] { refreshFromImage(RefreshCause::Dialog); });
    });
    // After each dialog's own handling: a script's change waited for it.
    for (QDialog* dialog :
         {static_cast<QDialog*>(m_keyMap.get()), static_cast<QDialog*>(m_macroDialog.get()),
          static_cast<QDialog*>(m_profilesDlg.get())})
        connect(dialog, &QDialog::finished, this, &CBrisoldeApp::reloadIfAScriptAsked,
                Qt::QueuedConnection);
}

CKeyMap& CBrisoldeApp::keyMap() {
    createDialogs();
    return *m_keyMap;
}

CMacroRecordDlg& CBrisoldeApp::macroDialog() {
    createDialogs();
    return *m_macroDialog;
}

CConfigureDlg& CBrisoldeApp::profilesDialog() {
    createDialogs();
    return *m_profilesDlg;
}

// --- The key assignment dialog -------------------------------------------------------------

void CBrisoldeApp::openKeyAssignment(int key) {
    if (!OpensKeyAssignment(key) || keyMap().isVisible())
        return;
    // The dialog starts from the stored assignment.
    m_session->ReloadKeyActions();
    m_keyMap->prepare(static_cast<std::size_t>(key));
    m_keyMap->open();
}

void CBrisoldeApp::finishKeyAssignment(int result) {
    if (result != QDialog::Accepted)
        return;
    const AssignKeyResult stored = m_session->AssignKey(m_keyMap->state(), m_keyMap->record());
    // The redraw shows the key highlighted when it is customised.
    m_window->RedrawMainWindow();
    // The assignment stays in memory; the next Save writes the file again.
    if (stored.stored)
        WarnIfNotWritten(*m_prompts, m_config, DataFile::Keymap, stored.keymap);
}

// --- The macro manager ---------------------------------------------------------------------

void CBrisoldeApp::openMacroManager() {
    if (!macroDialog().isVisible())
        m_macroDialog->openOn(m_config.macros);
}

void CBrisoldeApp::onMacroManagerFinished(int result) {
    if (result != QDialog::Accepted)
        return;
    const MacroCommitResult commit = m_session->CommitMacros(m_macroDialog->acceptedStore(),
                                                             m_macroDialog->acceptedRenumbering());
    // Keys whose macro was deleted are no longer customised.
    if (commit.keysRenumbered > 0)
        m_window->RedrawMainWindow();
    if (commit.ok())
        return;
    for (const FileResult* file : {&commit.macros, &commit.keymap}) {
        if (!file->ok)
            LogWarning("macros: " + file->error);
    }
    // A file left alone because it could not be loaded was reported at start-up.
    const bool macrosRefused = !commit.macros.ok && !m_config.macroFileWriteBlocked;
    const bool keymapRefused = !commit.keymap.ok && !m_config.keymapWriteBlocked;
    if (macrosRefused || keymapRefused)
        m_prompts->warn(ToQString(kMacroCaption), ToQString(kMacrosNotSavedText));
}

// --- Hotplug and teardown ------------------------------------------------------------------

void CBrisoldeApp::onDeviceArrival() {
    if (m_shutDown)
        return;
    struct Outcome {
        ArrivalResult arrival;
        std::optional<RefreshResult> refresh; // the read-back refresh that follows a reopening
    };
    auto outcome = std::make_shared<Outcome>();
    BusyRunner::Action action;
    action.work = [this, outcome] {
        outcome->arrival = m_session->OnArrival();
        // The refresh's own transfers (the lighting values read again) and "keymap.bin"
        // belong to the arrival's wait as well.
        if (outcome->arrival.reopened && outcome->arrival.readBackDone)
            outcome->refresh = m_session->Refresh(RefreshCause::ReadBack);
    };
    action.apply = [this, outcome] {
        const ArrivalResult& result = outcome->arrival;
        if (!result.error.empty())
            LogWarning("arrival: " + result.error);
        if (!result.reopened)
            return;
        m_window->setKeyboardMissing(false);
        m_window->ReplaceImage(result.factoryReset ? ImageChange::FactoryReset
                                                   : ImageChange::Reconnected);
        if (!outcome->refresh) {
            m_window->RedrawMainWindow();
            return;
        }
        m_window->setReadBackPending(false);
        showRefreshed();
        reloadIfAScriptAsked(); // queued behind this action
    };
    action.tell = [this, outcome] {
        // Nothing to offer a program that is ending.
        if (!outcome->refresh || m_runner->stopped())
            return;
        tellRefreshed(RefreshCause::ReadBack, *outcome->refresh);
        scheduleStartupHooks();
    };
    m_runner->run(std::move(action));
}

void CBrisoldeApp::onDeviceRemoval() {
    if (m_shutDown)
        return;
    m_runner->run({[this] { m_session->OnRemoval(); }, // writes its own trace line
                   [this] { m_window->setKeyboardMissing(!m_session->keyboardConnected()); },
                   nullptr});
}

void CBrisoldeApp::reloadAfterScript() {
    if (m_shutDown)
        return;
    // The start-up read-back and an open dialog hold the configuration: the script's files are
    // read when they are done.
    if (m_window->readBackPending() || dialogOpen()) {
        m_scriptRefreshPending = true;
        return;
    }
    m_scriptRefreshPending = false;
    // Reading the keyboard again takes its pauses: on the worker, after any running action.
    auto result = std::make_shared<RefreshResult>();
    BusyRunner::Action action;
    action.work = [this, result] {
        m_session->ReloadAfterScript();
        *result = m_session->Refresh(RefreshCause::Dialog);
    };
    action.apply = [this] { showRefreshed(); };
    action.tell = [this, result] { tellRefreshed(RefreshCause::Dialog, *result); };
    m_runner->run(std::move(action));
}

void CBrisoldeApp::reloadIfAScriptAsked() {
    if (m_scriptRefreshPending)
        reloadAfterScript();
}

bool CBrisoldeApp::dialogOpen() const {
    const auto visible = [](const QWidget* dialog) { return dialog && dialog->isVisible(); };
    return visible(m_keyMap.get()) || visible(m_macroDialog.get()) || visible(m_profilesDlg.get());
}

void CBrisoldeApp::shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    // An action still running ends first: the connection below must not go under it.
    m_runner->stop();
    if (QSystemTrayIcon* tray = m_window->trayIcon())
        tray->hide();
    m_hotplug.reset();
    // A worker waiting in a send returns at once, so the joins below cannot hang.
    m_sink->release();
    m_connection->Shutdown();
}

} // namespace orvo
