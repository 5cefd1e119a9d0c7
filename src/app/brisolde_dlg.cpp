#include "app/brisolde_dlg.h"

#include "app/about_dlg.h"
#include "app/busy_runner.h"
#include "app/device_actions.h"
#include "app/file_warnings.h"
#include "app/lighting_panel.h"
#include "app/main_window_composer.h"
#include "app/prompts.h"
#include "app/slider_drawing.h"
#include "app/tray_menu.h"
#include "controls/bit_slider.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "controls/skinned_window.h"
#include "device/session.h"
#include "model/autostart.h"
#include "model/config_state.h"
#include "model/log.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <memory>

namespace orvo {

namespace {

// For the start-up benchmark: one line on stdout when the first frame is painted.
constexpr const char* kReportFirstFrameVariable = "ZORVANTA_REPORT_FIRST_FRAME";

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

CBrisoldeDlg::CBrisoldeDlg(Session& session, ImageStore& images, Prompts& prompts,
                           DeviceActions& deviceActions, BusyRunner& runner, bool hasTray,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_session(session), m_images(images),
      m_prompts(prompts), m_deviceActions(deviceActions), m_runner(runner), m_hasTray(hasTray) {
    setWindowTitle(QString::fromUtf16(kMainWindowTitle));
    // Every pixel comes from the composed picture; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    m_skin = new SkinnedWindow(*this, m_images, ToQString(kBackgroundPicture.name));
    if (m_skin->backgroundSize().isEmpty())
        LogWarning("skin: main.png is missing from " + m_images.folder().toStdString());

    ConfigState& config = m_session.config();
    m_lighting = std::make_unique<LightingPanel>(m_images, m_state, config, m_sliders, m_prompts);
    m_composer = std::make_unique<MainWindowComposer>(m_images, m_state, config, *m_lighting);
    m_dispatcher = std::make_unique<ClickDispatcher>(m_state, config, *m_lighting,
                                                     static_cast<MainWindowCommands&>(*this));
    createSliders();
    setWindowIcon(ProgramIcon(m_images));
    if (m_hasTray)
        createTrayIcon();
}

CBrisoldeDlg::~CBrisoldeDlg() {
    if (m_tray)
        m_tray->hide();
}

ConfigState& CBrisoldeDlg::config() {
    return m_session.config();
}

void CBrisoldeDlg::createSliders() {
    for (std::size_t i = 0; i < kSliderPlaces.size(); ++i) {
        const SliderPlace& place = kSliderPlaces[i];
        auto* slider = new CBitSlider(&m_images, this);
        slider->setup(place.controlId, ToQPoint(place.position), place.maximum,
                      place.startPosition);
        const int id = place.controlId;
        connect(slider, &QSlider::valueChanged, this,
                [this, id](int position) { onSliderMoved(id, position); });
        m_sliders.sliders[i] = slider;
    }
}

void CBrisoldeDlg::createTrayIcon() {
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip(QString::fromUtf16(kMainWindowTitle));
    m_trayMenu = new TrayMenu(m_prompts, AutostartFile(FolderEnvironment::FromProcess()),
                              QCoreApplication::applicationFilePath().toStdString(), this);
    connect(m_trayMenu->quitAction(), &QAction::triggered, this, &CBrisoldeDlg::end);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    trayDoubleClicked();
            });
    m_tray->show();
}

bool CBrisoldeDlg::imageAway() const {
    return m_readBackPending || m_runner.working();
}

void CBrisoldeDlg::setKeyboardMissing(bool missing) {
    if (m_state.keyboardMissing == missing)
        return;
    m_state.keyboardMissing = missing;
    RedrawMainWindow();
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

// --- The image and the sliders -------------------------------------------------------------

void CBrisoldeDlg::ReplaceImage(ImageChange change) {
    const SettingsImage& image = m_session.config().image;
    switch (change) {
    case ImageChange::Reverted:
        m_state.diyMode = IsCustomEffect(image.byte(field::lightingEffect));
        break;
    case ImageChange::FactoryReset:
        m_state.diyMode = false;
        m_state.closeOverlays();
        break;
    case ImageChange::ReadBack:
    case ImageChange::Reconnected:
        break;
    }
    const bool afterReconnect =
        change == ImageChange::FactoryReset || change == ImageChange::Reconnected;
    const SliderPositions positions = SliderPositionsAfter(
        image, afterReconnect ? SliderSync::KeepPalmRest : SliderSync::AllFields);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (!positions[i] || m_sliders.sliders[i] == nullptr)
            continue;
        // Quietly: the image is not to be written from here.
        const QSignalBlocker quiet(m_sliders.sliders[i]);
        m_sliders.sliders[i]->setValue(*positions[i]);
    }
    m_settleDue = true;
}

void CBrisoldeDlg::settleImage() {
    std::array<int, kSliderCount> positions{};
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = m_sliders.sliders[i] ? m_sliders.sliders[i]->value() : 0;
    SettleShownValues(m_session.config().image, positions, m_state.effectListOpen);
}

void CBrisoldeDlg::setSliderPosition(int controlId, int position) {
    if (CBitSlider* slider = m_sliders.byId(controlId))
        slider->setValue(position);
}

void CBrisoldeDlg::onSliderMoved(int controlId, int position) {
    // While a worker fills the image the sliders only show; they are set from the image once
    // it is done.
    if (!imageAway())
        StoreSliderPosition(m_session.config().image, controlId, position);
    CBitSlider* slider = m_sliders.byId(controlId);
    if (slider == nullptr || slider->isHidden() || m_canvas.isNull())
        return;
    // Only the slider's place changes: paint it into the picture and copy just that part.
    QPainter canvas(&m_canvas);
    PaintSlider(canvas, m_images, *slider);
    canvas.end();
    update(SliderPaintArea(*slider));
}

// --- Composition and painting --------------------------------------------------------------

QImage CBrisoldeDlg::composeNow() {
    m_canvas = m_composer->compose(m_skin->backgroundPicture());
    return m_canvas;
}

void CBrisoldeDlg::ShowKeptFrame(const QImage& picture) {
    m_canvas = picture;
    update();
}

void CBrisoldeDlg::RedrawMainWindow() {
    // While a worker has the image nothing reads it here: the last picture stays.
    if (!imageAway()) {
        if (m_settleDue) {
            m_settleDue = false;
            settleImage();
        }
        composeNow();
    }
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
        Q_EMIT firstFramePainted();
    }
}

// --- Mouse and keys ------------------------------------------------------------------------

void CBrisoldeDlg::mousePressEvent(QMouseEvent* event) {
    // Clicks wait while a worker has the image: they would edit what it is filling.
    if (imageAway())
        return;
    if (event->button() == Qt::LeftButton)
        m_dispatcher->leftButtonDown(ToPoint(event->position()));
    else
        QWidget::mousePressEvent(event);
}

void CBrisoldeDlg::mouseMoveEvent(QMouseEvent* event) {
    if (imageAway())
        return;
    // A band whose button-up went elsewhere ends here.
    if (!(event->buttons() & Qt::LeftButton))
        m_dispatcher->buttonLost();
    m_dispatcher->mouseMove(ToPoint(event->position()));
}

void CBrisoldeDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (imageAway())
        return;
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dispatcher->leftButtonUp(ToPoint(event->position()));
}

void CBrisoldeDlg::startWindowMove(Point pressPoint) {
    // The skin follows the pointer until the release, which it keeps: the end of a window
    // drag is no click.
    m_skin->startMove(ToQPoint(pressPoint));
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
    end();
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
    // Hidden, only the tray icon could bring the window back.
    if (m_hasTray)
        hide();
    else
        showMinimized();
}

void CBrisoldeDlg::saveChanges() {
    auto result = std::make_shared<SaveResult>();
    BusyRunner::Action action;
    action.work = [this, result] { *result = m_session.Save(); };
    action.apply = [this] { RedrawMainWindow(); };
    action.tell = [this, result] {
        if (result->ok()) {
            WarnIfNotWritten(m_prompts, m_session.config(), DataFile::Keymap, result->keymap);
            return;
        }
        // The changes stay in the image, so the next Save sends them again.
        m_prompts.warn(QString::fromUtf16(kWarningCaption), QString::fromUtf16(kSaveFailedText));
        Q_EMIT saveFailed();
    };
    // Cut short between its first lighting report (brightness 0) and its last, a Save would
    // leave the keyboard dark: closing the window waits for it.
    action.interruptible = false;
    m_runner.run(std::move(action));
}

void CBrisoldeDlg::cancelChanges() {
    if (m_hasTray)
        hide();
    const FileResult written = m_session.Cancel();
    ReplaceImage(ImageChange::Reverted);
    WarnIfNotWritten(m_prompts, m_session.config(), DataFile::Keymap, written);
}

void CBrisoldeDlg::closeProgram() {
    const FileResult written = m_session.Close();
    WarnIfNotWritten(m_prompts, m_session.config(), DataFile::Keymap, written);
    end();
}

void CBrisoldeDlg::end() {
    if (m_ended)
        return;
    m_ended = true;
    hide();
    if (m_tray)
        m_tray->hide();
    Q_EMIT finished();
}

void CBrisoldeDlg::openProfiles() {
    Q_EMIT profilesRequested();
}

void CBrisoldeDlg::openMacros() {
    Q_EMIT macrosRequested();
}

void CBrisoldeDlg::assignKey(int key) {
    Q_EMIT keyAssignmentRequested(key);
}

void CBrisoldeDlg::helpItem(int item) {
    if (item == kHelpItemFactoryReset)
        m_deviceActions.factoryReset();
    else if (item == kHelpItemUpdater)
        m_deviceActions.LaunchUpdater();
}

} // namespace orvo
