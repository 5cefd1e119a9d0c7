#include "colour/cx_color_spectrum_ctrl.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace orvo {

namespace {

QRgb ToQRgb(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

Point ToPoint(QPointF p) {
    const QPoint q = p.toPoint();
    return {q.x(), q.y()};
}

std::optional<SpectrumKey> ToSpectrumKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return SpectrumKey::Left;
    case Qt::Key_Right:
        return SpectrumKey::Right;
    case Qt::Key_Up:
        return SpectrumKey::Up;
    case Qt::Key_Down:
        return SpectrumKey::Down;
    case Qt::Key_PageUp:
        return SpectrumKey::PageUp;
    case Qt::Key_PageDown:
        return SpectrumKey::PageDown;
    case Qt::Key_Home:
        return SpectrumKey::Home;
    case Qt::Key_End:
        return SpectrumKey::End;
    default:
        return std::nullopt;
    }
}

} // namespace

CXColorSpectrumCtrl::CXColorSpectrumCtrl(QWidget* parent, ColorRef initialColour, int tooltipMode)
    : QWidget(parent), m_tooltipMode(tooltipMode) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button must arrive too: they end a drag whose release went elsewhere,
    // and they update the tooltip.
    setMouseTracking(true);
    setColour(initialColour);
}

CXColorSpectrumCtrl::~CXColorSpectrumCtrl() = default;

void CXColorSpectrumCtrl::setColour(ColorRef colour) {
    m_colour = colour;
    m_hsl = RgbToHsl(ToRgb(colour));
    const SpectrumGeometry g = geometryNow();
    m_crosshair = g.crosshairFor(m_hsl.hue, m_hsl.saturation);
    m_arrow = g.arrowFor(m_hsl.luminosity);
    drawCrosshair(false);
    drawArrow(false);
}

const QImage& CXColorSpectrumCtrl::frame() {
    ensureFrame();
    return m_frame;
}

void CXColorSpectrumCtrl::ensureFrame() {
    if (m_spectrum.size() == size() && !m_frame.isNull()) {
        return;
    }
    paintSpectrum();
    m_frame = m_spectrum.copy();
    // Fresh frame: put the pointers on it (no one is told, nothing changed).
    drawCrosshair(false);
    drawArrow(false);
}

void CXColorSpectrumCtrl::paintSpectrum() {
    const SpectrumGeometry g = geometryNow();
    m_spectrum = QImage(std::max(1, g.width), std::max(1, g.height), QImage::Format_RGB32);
    m_spectrum.fill(ToQRgb(kSpectrumBackground));
    const int columns = std::min(g.width - kSpectrumRightMargin, m_spectrum.width());
    for (int y = 0; y < m_spectrum.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_spectrum.scanLine(y));
        for (int i = 0; i < columns; ++i) {
            line[i] = ToQRgb(g.spectrumPixel(i, y));
        }
    }
}

void CXColorSpectrumCtrl::drawCrosshair(bool notify) {
    if (m_spectrum.size() != size() || m_frame.isNull()) {
        // Not painted yet: the first paint builds the frame with the current values.
        if (notify) {
            this->notify();
        }
        return;
    }
    const SpectrumGeometry g = geometryNow();
    const HalfOpenRect field = g.spectrum();
    const int copyColumns = std::max(0, g.width - kSpectrumRightMargin);
    {
        QPainter painter(&m_frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), m_spectrum, QRect(0, 0, copyColumns, g.height));
    }
    const QRgb mark =
        palette().color(m_spectrumFocus ? QPalette::WindowText : QPalette::Window).rgb();
    for (int row = 0; row < kCrosshairSize; ++row) {
        for (int col = 0; col < kCrosshairSize; ++col) {
            if (kCrosshairPattern[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] !=
                '#') {
                continue;
            }
            const Point p{m_crosshair.x + col - kCrosshairCentre,
                          m_crosshair.y + row - kCrosshairCentre};
            if (field.contains(p)) {
                m_frame.setPixel(p.x, p.y, mark);
            }
        }
    }
    drawBar();
    update();
    if (notify) {
        this->notify();
    }
}

void CXColorSpectrumCtrl::drawBar() {
    const SpectrumGeometry g = geometryNow();
    const HalfOpenRect bar = g.bar();
    const int h = g.spectrum().height();
    const int left = std::max(0, bar.left);
    const int right = std::min(bar.left + kBarStripeWidth, m_frame.width());
    if (m_colour == kNoColour) {
        // No colour, no bar: show the background where the stripe was.
        QPainter painter(&m_frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect stripe(left, kSpectrumTop, std::max(0, right - left), std::max(0, h));
        painter.drawImage(stripe.topLeft(), m_spectrum, stripe);
        return;
    }
    const HslReal current = RgbToHslReal(ToRgb(m_colour));
    for (int i = 0; i < h; ++i) {
        const int y = h + kSpectrumTop - 1 - i;
        if (y < 0 || y >= m_frame.height()) {
            continue;
        }
        const QRgb c = ToQRgb(g.barPixel(current.hue, current.saturation, y));
        auto* line = reinterpret_cast<QRgb*>(m_frame.scanLine(y));
        std::fill(line + left, line + std::max(left, right), c);
    }
}

void CXColorSpectrumCtrl::drawArrow(bool notify) {
    if (m_spectrum.size() != size() || m_frame.isNull()) {
        if (notify) {
            this->notify();
        }
        return;
    }
    const SpectrumGeometry g = geometryNow();
    const int left = std::max(0, g.width - kArrowAreaFromRight);
    {
        QPainter painter(&m_frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect area(left, 0, std::min(kArrowAreaWidth, g.width - left), g.height);
        painter.drawImage(area.topLeft(), m_spectrum, area);
    }
    const QRgb outline = palette().color(QPalette::WindowText).rgb();
    const QRgb fill = palette().color(m_barFocus ? QPalette::WindowText : QPalette::Dark).rgb();
    const int top = g.arrowTopRow(m_arrow);
    for (int row = 0; row < kArrowHeight; ++row) {
        for (int col = 0; col < kArrowWidth; ++col) {
            const char cell =
                kArrowPattern[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            const int x = left + col;
            const int y = top + row;
            if (cell == '.' || !m_frame.rect().contains(x, y)) {
                continue;
            }
            m_frame.setPixel(x, y, cell == 'o' ? outline : fill);
        }
    }
    update();
    if (notify) {
        this->notify();
    }
}

void CXColorSpectrumCtrl::notify() {
    if (m_colour == kNoColour) {
        return;
    }
    m_lastReported = m_colour;
    Q_EMIT selChange(m_colour);
}

void CXColorSpectrumCtrl::recomputeColour() {
    m_colour = ToColorRef(HslToRgb(m_hsl));
}

void CXColorSpectrumCtrl::pickInSpectrum(Point p) {
    int hue = 0;
    int saturation = 0;
    geometryNow().hueSaturationAt(p, hue, saturation);
    m_crosshair = p;
    m_hsl.hue = static_cast<std::uint8_t>(hue);
    m_hsl.saturation = static_cast<std::uint8_t>(saturation);
    recomputeColour();
}

void CXColorSpectrumCtrl::pickInBar(int y) {
    const SpectrumGeometry g = geometryNow();
    m_hsl.luminosity = static_cast<std::uint8_t>(g.luminosityAt(y));
    m_arrow = std::clamp(y - kSpectrumTop, 0, std::max(0, g.spectrum().height() - 1));
    recomputeColour();
}

void CXColorSpectrumCtrl::setFocusPart(SpectrumPart part) {
    m_spectrumFocus = part == SpectrumPart::Spectrum;
    m_barFocus = part == SpectrumPart::Bar;
}

void CXColorSpectrumCtrl::paintEvent(QPaintEvent*) {
    ensureFrame();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_frame);
}

void CXColorSpectrumCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const SpectrumGeometry g = geometryNow();
    m_crosshair = g.crosshairFor(m_hsl.hue, m_hsl.saturation);
    m_arrow = g.arrowFor(m_hsl.luminosity);
    m_frame = QImage();
}

void CXColorSpectrumCtrl::mousePressEvent(QMouseEvent* event) {
    // Qt reports the primary button as LeftButton, also with the buttons swapped.
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    ensureFrame();
    const SpectrumGeometry g = geometryNow();
    const Point p = ToPoint(event->position());
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    if (g.spectrum().contains(p)) {
        pickInSpectrum(p);
        setFocusPart(SpectrumPart::Spectrum);
        drawCrosshair(true);
        drawArrow(false);
        m_draggingSpectrum = true;
    } else if (g.bar().contains(p)) {
        pickInBar(p.y);
        setFocusPart(SpectrumPart::Bar);
        drawArrow(true);
        drawCrosshair(false);
        m_draggingBar = true;
    }
}

void CXColorSpectrumCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        m_draggingBar = false;
        m_draggingSpectrum = false;
    }
    const SpectrumGeometry g = geometryNow();
    const Point p = ToPoint(event->position());
    if (m_draggingBar && g.bar().contains(p)) {
        pickInBar(p.y);
        drawArrow(true);
    } else if (m_draggingSpectrum && g.spectrum().contains(p)) {
        pickInSpectrum(p);
        drawCrosshair(true);
    }
    if (m_tooltipMode != 0 && QToolTip::isVisible()) {
        const QString text = tooltipTextAt(event->position().toPoint());
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
        }
    }
}

void CXColorSpectrumCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_draggingBar = false;
        m_draggingSpectrum = false;
    }
    QWidget::mouseReleaseEvent(event);
}

void CXColorSpectrumCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const SpectrumGeometry g = geometryNow();
    const Point p = ToPoint(event->position());
    if ((g.spectrum().contains(p) || g.bar().contains(p)) && m_colour != kNoColour) {
        m_lastReported = m_colour;
        Q_EMIT selEndOk(m_colour);
    }
}

void CXColorSpectrumCtrl::keyPressEvent(QKeyEvent* event) {
    const std::optional<SpectrumKey> key = ToSpectrumKey(event->key());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int step = KeyStep(mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::ShiftModifier));
    const SpectrumPart part = m_spectrumFocus ? SpectrumPart::Spectrum
                              : m_barFocus    ? SpectrumPart::Bar
                                              : SpectrumPart::None;
    const SpectrumKeyResult result = ApplySpectrumKey(m_hsl, part, *key, step);
    event->accept();
    if (result.action != SpectrumKeyResult::Action::ValueChanged) {
        return;
    }
    m_hsl = result.hsl;
    recomputeColour();
    const SpectrumGeometry g = geometryNow();
    if (part == SpectrumPart::Spectrum) {
        m_crosshair = g.crosshairFor(m_hsl.hue, m_hsl.saturation);
        drawCrosshair(true);
    } else {
        m_arrow = g.arrowFor(m_hsl.luminosity);
        drawArrow(true);
    }
}

bool CXColorSpectrumCtrl::focusNextPrevChild(bool next) {
    // Tab steps from the field to the bar and Shift+Tab back before leaving the control.
    const SpectrumPart part = m_spectrumFocus ? SpectrumPart::Spectrum
                              : m_barFocus    ? SpectrumPart::Bar
                                              : SpectrumPart::None;
    const SpectrumKeyResult result =
        ApplySpectrumKey(m_hsl, part, next ? SpectrumKey::Tab : SpectrumKey::BackTab, 0);
    switch (result.action) {
    case SpectrumKeyResult::Action::FocusToBar:
        setFocusPart(SpectrumPart::Bar);
        break;
    case SpectrumKeyResult::Action::FocusToSpectrum:
        setFocusPart(SpectrumPart::Spectrum);
        break;
    default:
        return QWidget::focusNextPrevChild(next);
    }
    drawCrosshair(false);
    drawArrow(false);
    return true;
}

void CXColorSpectrumCtrl::focusInEvent(QFocusEvent* event) {
    const bool shift = (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) ||
                       event->reason() == Qt::BacktabFocusReason;
    setFocusPart(shift ? SpectrumPart::Bar : SpectrumPart::Spectrum);
    drawCrosshair(false);
    drawArrow(false);
    QWidget::focusInEvent(event);
}

void CXColorSpectrumCtrl::focusOutEvent(QFocusEvent* event) {
    setFocusPart(SpectrumPart::None);
    m_draggingBar = false;
    m_draggingSpectrum = false;
    drawCrosshair(false);
    drawArrow(false);
    QWidget::focusOutEvent(event);
}

QString CXColorSpectrumCtrl::tooltipTextAt(QPoint pos) const {
    if (m_tooltipMode == 0 || m_spectrum.isNull() || m_frame.isNull()) {
        return {};
    }
    const SpectrumGeometry g = geometryNow();
    const Point p{pos.x(), pos.y()};
    const HalfOpenRect field = g.spectrum();
    const HalfOpenRect bar = g.bar();
    QRgb pixel = 0;
    if (field.contains(p) && m_spectrum.rect().contains(pos)) {
        pixel = m_spectrum.pixel(pos);
    } else if (bar.left <= p.x && p.x < bar.left + kBarStripeWidth && field.top <= p.y &&
               p.y < field.bottom && m_frame.rect().contains(pos)) {
        pixel = m_frame.pixel(pos);
    } else {
        return {};
    }
    const Rgb c{static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                static_cast<std::uint8_t>(qBlue(pixel))};
    return QString::fromStdString(SpectrumTooltipText(m_tooltipMode, c));
}

bool CXColorSpectrumCtrl::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_tooltipMode != 0) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = tooltipTextAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace orvo
