#include "app/brisolde_dlg.h"

#include "app/about_dlg.h"
#include "app/gui_message_sink.h"
#include "app/main_window_composer.h"
#include "app/skin_prefetch.h"
#include "app/slider_drawing.h"
#include "controls/bit_slider.h"
#include "controls/image_store.h"
#include "controls/skin_resources.h"
#include "device/commands.h"
#include "device/connection.h"
#include "device/hid.h"
#include "device/pacer.h"
#include "model/config_files.h"
#include "model/config_state.h"
#include "model/log.h"
#include "model/window_messages.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <string>

namespace orvo {

namespace {

// Hidden switches for scripts: a screenshot of the window after the first read-back (then the
// program ends), and a click at "x,y" just before it.
constexpr const char* kScreenshotVariable = "ZORVANTA_SCREENSHOT";
constexpr const char* kTestClickVariable = "ZORVANTA_TEST_CLICK";
// For the start-up benchmark: one line on stdout when the first frame is painted.
constexpr const char* kReportFirstFrameVariable = "ZORVANTA_REPORT_FIRST_FRAME";

Point ToPoint(const QPointF& p) {
    return Point{qRound(p.x()), qRound(p.y())};
}

QIcon ProgramIcon(const ImageStore& images) {
    QImage picture = images.image(kAppIconImage.toString());
    if (picture.isNull()) {
        // Without the skin's icon the tray still needs something to show.
        picture = QImage(kAppIconSize, QImage::Format_RGB32);
        picture.fill(QColor(6, 143, 194));
    }
    return QIcon(QPixmap::fromImage(picture));
}

} // namespace

namespace {
QString ImageFolderString(const ProgramFolders& folders) {
    return QString::fromStdString((folders.imageFolder / "").string());
}
} // namespace

QString ImageFolderOf(const std::filesystem::path& executable) {
    return ImageFolderString(ProgramFoldersFromEnvironment(executable));
}
CBrisoldeDlg::CBrisoldeDlg(std::filesystem::path executable, SkinPrefetch* prefetch,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_config(std::make_unique<ConfigState>()) {
    setWindowTitle(QString::fromUtf16(kMainWindowTitle));
    // Every pixel comes from the composed picture; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (executable.empty())
        executable = QCoreApplication::applicationFilePath().toStdString();
    initialise(executable, prefetch);
}

CBrisoldeDlg::~CBrisoldeDlg() {
    shutdown();
}

void CBrisoldeDlg::initialise(const std::filesystem::path& executable, SkinPrefetch* prefetch) {
    ConfigState& config = *m_config;
    config.folders = ProgramFoldersFromEnvironment(executable);
    if (const FileResult made = EnsureDataFolder(config.folders); !made)
        LogWarning("data folder: " + made.error);
    m_images = std::make_unique<ImageStore>(ImageFolderString(config.folders));
    m_images->setCaching(true);
    ReadVersionFile(config);

    // The header gives the size; the pictures are decoded for the first composition.
    const QSize background = QImageReader(m_images->path(kBackgroundImage.toString())).size();
    if (!background.isValid())
        LogWarning("skin: main.png is missing from " + m_images->folder().toStdString());
    setFixedSize(background.isValid() ? background : QSize(0, 0));

    m_pacer = std::make_unique<RealPacer>();
    m_bus = OpenHidBusFromEnvironment();
    m_connection = std::make_unique<DeviceConnection>(*m_bus, *m_pacer);
    m_sink = std::make_unique<GuiMessageSink>(
        [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            handleMessage(message, wParam, lParam);
        });
    m_lighting = std::make_unique<LightingPanel>(*this, m_state, config, m_sliders);
    m_deviceActions = std::make_unique<DeviceActions>(*this, m_state, config, m_sliders);
    m_composer = std::make_unique<MainWindowComposer>(*m_images, m_state, config, *m_lighting);
    m_dispatcher = std::make_unique<ClickDispatcher>(m_state, config, *m_lighting,
                                                     static_cast<MainWindowCommands&>(*this));

    startHotplugMonitor();
    createSliders();
    if (const LoadResult macros = LoadMacroFile(config); !macros)
        LogWarning("MacroDefine.bin: " + macros.error);

    // "keymap.bin" goes into the image before the read-back thread starts, so that the
    // keyboard's values win over the file's.
    config.keyActions.clear();
    if (const LoadResult keymap = LoadKeymapFile(config, false); !keymap)
        LogWarning("keymap.bin: " + keymap.error);
    CommitSnapshot(config);
    RecomputeCustomisedKeys(config);
    setSlidersFromImage(true, false);

    // The first picture shows "keymap.bin"; it is composed before the read-back thread
    // starts writing the image, and stays until the read-back has been handled.
    if (prefetch)
        prefetch->deliverTo(*m_images);
    RedrawMainWindow();

    connectKeyboard();
    setWindowIcon(ProgramIcon(*m_images));
    createTrayIcon();
}

void CBrisoldeDlg::startHotplugMonitor() {
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

void CBrisoldeDlg::createSliders() {
    for (std::size_t i = 0; i < kSliderSpecs.size(); ++i) {
        const SliderSpec& spec = kSliderSpecs[i];
        auto* slider = new CBitSlider(m_images.get(), this);
        slider->setup(spec.controlId, QPoint(spec.position.x, spec.position.y), spec.maximum,
                      spec.startPosition);
        connect(slider, &CBitSlider::sliderChanged, this, &CBrisoldeDlg::onSliderChanged);
        m_sliders.sliders[i] = slider;
        m_lastSliderPosition[i] = -1;
    }
}

void CBrisoldeDlg::connectKeyboard() {
    m_readBackPending = true;
    const ConnectResult result = m_connection->Connect(*m_config, *m_sink);
    if (!result.commandOpen)
        m_readBackPending = false;
    if (!result.error.empty())
        LogWarning("keyboard: " + result.error);
    m_startHidden = !result.connected();
}

void CBrisoldeDlg::createTrayIcon() {
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip(QString::fromUtf16(kMainWindowTitle));
    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(QString::fromUtf16(kQuitMenuText), this, &CBrisoldeDlg::endDialog);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    trayDoubleClicked();
            });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

bool CBrisoldeDlg::keyboardConnected() const {
    return m_connection->commandOpen();
}

void CBrisoldeDlg::trayDoubleClicked() {
    if (keyboardConnected()) {
        showFromOutside();
        return;
    }
    if (m_tray)
        m_tray->showMessage(QString::fromUtf16(kWarningCaption),
                            QString::fromUtf16(kKeyboardMissingText), QSystemTrayIcon::Information);
}

void CBrisoldeDlg::showFromOutside() {
    showNormal();
    raise();
    activateWindow();
}

void CBrisoldeDlg::showAbout() {
    CAboutDlg about(windowIcon(), this);
    about.exec();
}

// --- Messages of the workers and the sliders -----------------------------------------------

void CBrisoldeDlg::handleMessage(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    if (message == WM_READBACK_DONE)
        onReadBackDone(lParam);
    else if (message == WM_DEVICE_KEY_EVENT)
        onDeviceKeyEvent(wParam);
}

void CBrisoldeDlg::onReadBackDone(std::intptr_t lParam) {
    m_readBackPending = false;
    ConfigState& config = *m_config;
    setSlidersFromImage(true, false);
    RecomputeCustomisedKeys(config);
    if (lParam == 0 && !m_connection->RunCommands([&](CommandChannel& ch) {
            return ReadLightingEffect(ch, config.image);
        }))
        LogWarning("refresh: the lighting values could not be read");
    setSlidersFromImage(false, false);
    if (const FileResult saved = SaveKeymapFile(config); !saved)
        LogWarning("keymap.bin: " + saved.error);
    RedrawMainWindow();
    if (lParam == 0)
        m_deviceActions->checkFirmware();
    if (!m_startupHooksRun) {
        m_startupHooksRun = true;
        // After the handler returned, so the read-back thread is not kept waiting.
        QTimer::singleShot(0, this, &CBrisoldeDlg::runStartupHooks);
    }
}

void CBrisoldeDlg::runStartupHooks() {
    const QByteArray click = qgetenv(kTestClickVariable);
    if (!click.isEmpty()) {
        const QList<QByteArray> xy = click.split(',');
        if (xy.size() == 2) {
            const QPointF at(xy[0].toInt(), xy[1].toInt());
            const QPointF global = mapToGlobal(at);
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(this, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(this, &release);
        }
    }
    const QString screenshot = qEnvironmentVariable(kScreenshotVariable);
    if (!screenshot.isEmpty()) {
        if (!grab().save(screenshot))
            LogWarning("screenshot: cannot write " + screenshot.toStdString());
        endDialog();
    }
}

void CBrisoldeDlg::onDeviceKeyEvent(std::uintptr_t code) {
    LogTrace("device key event " + std::to_string(code));
}

void CBrisoldeDlg::setSliderPosition(int controlId, int position) {
    if (CBitSlider* slider = m_sliders.byId(controlId))
        slider->setValue(position);
}

void CBrisoldeDlg::setSlidersFromImage(bool allSix, bool responseTimeMinusOne) {
    const SettingsImage& image = m_config->image;
    for (const SliderSpec& spec : kSliderSpecs) {
        const int id = spec.controlId;
        if (!allSix && (id == kPalmSpeedSlider || id == kPalmBrightnessSlider))
            continue;
        int position = SliderPositionFromImage(image, id);
        if (id == kResponseTimeSlider && responseTimeMinusOne)
            position -= 1;
        setSliderPosition(id, position);
    }
}

void CBrisoldeDlg::DrawSlider(int controlId, QPainter& canvas) {
    CBitSlider* slider = m_sliders.byId(controlId);
    if (slider == nullptr)
        return;
    // While the read-back thread fills the image the sliders only show; their positions are
    // set from the image once it is done.
    if (!m_readBackPending)
        StoreSliderPosition(m_config->image, controlId, slider->value());
    PaintSlider(canvas, *m_images, *slider);
}

void CBrisoldeDlg::onSliderChanged(int controlId) {
    const auto index = SliderIndex(controlId);
    CBitSlider* slider = m_sliders.byId(controlId);
    if (!index || slider == nullptr || m_canvas.isNull())
        return;
    if (slider->value() == m_lastSliderPosition[*index])
        return;
    m_lastSliderPosition[*index] = slider->value();
    // Only the slider's place changes: paint it into the picture and copy just that part.
    QPainter canvas(&m_canvas);
    DrawSlider(controlId, canvas);
    canvas.end();
    update(SliderPaintArea(*slider));
}

// --- Composition and painting --------------------------------------------------------------

QImage CBrisoldeDlg::composeNow() {
    m_canvas = m_composer->compose();
    for (std::size_t i = 0; i < m_sliders.sliders.size(); ++i)
        if (m_sliders.sliders[i])
            m_lastSliderPosition[i] = m_sliders.sliders[i]->value();
    return m_canvas;
}

void CBrisoldeDlg::RedrawMainWindow() {
    // While the read-back thread fills the image nothing reads it here.
    if (!m_readBackPending)
        composeNow();
    update();
}

void CBrisoldeDlg::paintEvent(QPaintEvent* event) {
    QPainter screen(this);
    const QRect area = event->rect();
    if (m_canvas.isNull())
        screen.fillRect(area, Qt::black);
    else
        screen.drawImage(area.topLeft(), m_canvas, area);
    if (!m_firstFramePainted) {
        m_firstFramePainted = true;
        if (qEnvironmentVariableIsSet(kReportFirstFrameVariable)) {
            std::fputs("first frame\n", stdout);
            std::fflush(stdout);
        }
    }
}

// --- Mouse and keys ------------------------------------------------------------------------

void CBrisoldeDlg::mousePressEvent(QMouseEvent* event) {
    // Clicks wait for the start-up read-back: they would edit the image it is filling.
    if (m_readBackPending)
        return;
    if (event->button() == Qt::LeftButton)
        m_dispatcher->leftButtonDown(ToPoint(event->position()));
    else
        QWidget::mousePressEvent(event);
}

void CBrisoldeDlg::mouseMoveEvent(QMouseEvent* event) {
    m_lastGlobalPos = event->globalPosition().toPoint();
    if (m_movingWindow) {
        move(m_lastGlobalPos - m_moveOffset);
        return;
    }
    if (m_readBackPending)
        return;
    // A band whose button-up went elsewhere ends here.
    if (!(event->buttons() & Qt::LeftButton))
        m_dispatcher->buttonLost();
    m_dispatcher->mouseMove(ToPoint(event->position()));
}

void CBrisoldeDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (m_readBackPending)
        return;
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_movingWindow) {
        // The end of a window drag is no click.
        m_movingWindow = false;
        m_dispatcher->buttonLost();
        return;
    }
    m_dispatcher->leftButtonUp(ToPoint(event->position()));
}

void CBrisoldeDlg::startWindowMove(Point pressPoint) {
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    // Without the window manager's help the window follows the pointer itself.
    m_movingWindow = true;
    m_moveOffset = QPoint(pressPoint.x, pressPoint.y);
    move(m_lastGlobalPos - m_moveOffset);
}

void CBrisoldeDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F1:
        // Never close the window or ask for help.
        event->accept();
        return;
    case Qt::Key_Control:
        m_state.ctrlHeld = true;
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CBrisoldeDlg::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control && !event->isAutoRepeat()) {
        m_dispatcher->ctrlReleased();
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CBrisoldeDlg::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_state.hoverFlags.fill(0);
    m_state.hoverRegion = kNoHover;
    RedrawMainWindow();
}

void CBrisoldeDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf16(kAboutMenuText), this, &CBrisoldeDlg::showAbout);
    menu.exec(event->globalPos());
}

void CBrisoldeDlg::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the program ends as through "Salir".
    event->accept();
    endDialog();
}

bool CBrisoldeDlg::event(QEvent* event) {
    // Enter, Escape and F1 reach no shortcut or "What's this" handling either.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_F1 ||
            key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

// --- Buttons -------------------------------------------------------------------------------

void CBrisoldeDlg::minimise() {
    hide();
}

bool CBrisoldeDlg::writeKeymapFile() {
    const FileResult saved = SaveKeymapFile(*m_config);
    if (!saved)
        LogWarning("keymap.bin: " + saved.error);
    return saved.ok;
}

void CBrisoldeDlg::saveChanges() {
    ConfigState& config = *m_config;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ApplyResult result = m_connection->ApplyChanges(config.image, config.deviceSnapshot);
    if (result.ok) {
        CommitSnapshot(config);
        writeKeymapFile();
    }
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        // The changes stay in the image, so the next Save sends them again.
        QMessageBox::warning(this, QString::fromUtf16(kWarningCaption),
                             QString::fromUtf16(kSaveFailedText));
        Q_EMIT saveFailed();
    }
}

void CBrisoldeDlg::cancelChanges() {
    ConfigState& config = *m_config;
    hide();
    RevertToSnapshot(config);
    RecomputeCustomisedKeys(config);
    m_state.diyMode = config.image.byte(field::lightingEffect) >= kFirstCustomEffect;
    // The sliders show the restored values; else the next composition would store their old
    // positions back into the image.
    setSlidersFromImage(true, false);
    writeKeymapFile();
}

void CBrisoldeDlg::closeProgram() {
    if (const FileResult saved = SaveKeymapSnapshotFile(*m_config); !saved)
        LogWarning("keymap.bin: " + saved.error);
    endDialog();
}

void CBrisoldeDlg::endDialog() {
    if (m_ended)
        return;
    m_ended = true;
    hide();
    if (m_tray)
        m_tray->hide();
    Q_EMIT finished();
}

void CBrisoldeDlg::openProfiles() {
    if (m_hooks.openProfiles)
        m_hooks.openProfiles();
}

void CBrisoldeDlg::openMacros() {
    if (m_hooks.openMacros)
        m_hooks.openMacros();
}

void CBrisoldeDlg::assignKey(int key) {
    if (m_hooks.assignKey)
        m_hooks.assignKey(key);
}

void CBrisoldeDlg::helpItem(int item) {
    if (item == kHelpItemFactoryReset)
        m_deviceActions->factoryReset();
    else if (item == kHelpItemUpdater)
        m_deviceActions->LaunchUpdater();
}

// --- Hotplug and teardown ------------------------------------------------------------------

void CBrisoldeDlg::onDeviceArrival() {
    if (m_shutDown)
        return;
    const ArrivalResult result = m_connection->OnArrival(*m_config);
    if (!result.error.empty())
        LogWarning("arrival: " + result.error);
    if (!result.reopened)
        return;
    if (result.factoryReset) {
        m_state.diyMode = false;
        m_state.closeOverlays();
    }
    setSlidersFromImage(false, true);
    if (result.readBackDone)
        onReadBackDone(0);
    else
        RedrawMainWindow();
}

void CBrisoldeDlg::onDeviceRemoval() {
    if (m_shutDown)
        return;
    m_connection->OnRemoval(); // writes its own trace line
}

void CBrisoldeDlg::shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_tray)
        m_tray->hide();
    m_hotplug.reset();
    // A worker waiting in a send returns at once, so the joins below cannot hang.
    m_sink->release();
    m_connection->Shutdown();
}

} // namespace orvo
