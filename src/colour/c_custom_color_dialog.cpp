#include "colour/c_custom_color_dialog.h"

#include "colour/cx_color_spectrum_ctrl.h"
#include "controls/draw_png.h"
#include "controls/qt_convert.h"
#include "controls/skinned_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace orvo {

namespace {

// Small flat controls that sit on the dark skin.
constexpr auto kButtonStyle = u"QPushButton { background: #2a2a2a; color: #ffffff;"
                              " border: 1px solid #5c5c5c; padding: 0px; font-size: 10px; }"
                              "QPushButton:hover { background: #3a3a3a; }"
                              "QPushButton:pressed { background: #1a1a1a; }"
                              "QPushButton:focus { border: 1px solid #a0a0a0; }";
constexpr auto kFieldStyle = u"QLineEdit { background: #1e1e1e; color: #ffffff;"
                             " border: 1px solid #4a4a4a; padding: 0px 2px; font-size: 10px; }";

} // namespace

CCustomColorDialog::CCustomColorDialog(const QString& imageFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_images(imageFolder) {
    setModal(true);
    // The dialog repaints on every pick while dragging; the store re-reads a changed file.
    m_images.setCaching(true);
    // Frame, size and dragging (a child of the dialog). A press on a cell or the close box is
    // a click; anywhere else it may drag the window.
    auto* skin =
        new SkinnedWindow(*this, m_images, kColourBackgroundImage, {}, kColourDialogFallbackSize);
    skin->setFreeSpots([](QPoint p) {
        const Point at = ToPoint(p);
        return PaletteCellAt(at) < 0 && !kColourDialogCloseBox.contains(at);
    });

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(kColourOkRect);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setGeometry(kColourCancelRect);
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setStyleSheet(QString::fromUtf16(kButtonStyle));
        button->setCursor(Qt::PointingHandCursor);
    }
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (int i = 0; i < kFieldCount; ++i) {
        auto* field = new QLineEdit(this);
        const int x = i < 3 ? kRgbFieldX : kHslFieldX;
        field->setGeometry(
            QRect(QPoint(x, kFieldRowY[static_cast<std::size_t>(i % 3)]), kFieldSize));
        // Display only: nothing typed here can change the pick.
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setStyleSheet(QString::fromUtf16(kFieldStyle));
        m_fields[static_cast<std::size_t>(i)] = field;
    }

    m_spectrum = new CXColorSpectrumCtrl(this, kSpectrumInitialColour, 0);
    m_spectrum->setGeometry(kColourSpectrumRect);
    connect(m_spectrum, &CXColorSpectrumCtrl::selChange, this,
            &CCustomColorDialog::onSpectrumChanged);
    setTabOrder(m_spectrum, m_ok);
    setTabOrder(m_ok, m_cancel);

    setPickedColour(kSpectrumInitialColour);
}

CCustomColorDialog::~CCustomColorDialog() = default;

void CCustomColorDialog::setPickedColour(std::uint32_t colorref) {
    m_pickedColour = colorref;
    m_spectrum->setColour(colorref);
    fillFields();
    m_selectedCell = FirstPaletteCellOf(colorref);
    update();
}

QString CCustomColorDialog::fieldText(Field field) const {
    return m_fields[static_cast<std::size_t>(field)]->text();
}

void CCustomColorDialog::fillFields() {
    const Rgb c = ToRgb(m_pickedColour);
    const std::array<int, kFieldCount> values{
        c.r, c.g, c.b, m_spectrum->hue(), m_spectrum->saturation(), m_spectrum->luminosity()};
    for (int i = 0; i < kFieldCount; ++i) {
        m_fields[static_cast<std::size_t>(i)]->setText(
            QString::number(values[static_cast<std::size_t>(i)]));
    }
}

void CCustomColorDialog::onSpectrumChanged(std::uint32_t colour) {
    // The marker stays on the last palette cell: a spectrum pick does not move it.
    m_pickedColour = colour & 0xFFFFFFu;
    fillFields();
    update();
}

void CCustomColorDialog::selectCell(int cell) {
    const ColorRef colour = ToColorRef(kPaletteColours[static_cast<std::size_t>(cell)]);
    m_selectedCell = cell;
    m_spectrum->setColour(colour);
    m_pickedColour = colour;
    fillFields();
    update();
}

QImage CCustomColorDialog::compose() const {
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    DrawPng(painter, m_images, kColourBackgroundImage.toString(), 0, 0);

    if (m_selectedCell >= 0 && m_selectedCell < kPaletteCellCount) {
        const QPoint cell(PaletteCellLeft(m_selectedCell), PaletteCellTop(m_selectedCell));
        const QRect marker(cell + ToQPoint(kCellMarkerTopLeft),
                           cell + ToQPoint(kCellMarkerBottomRight));
        // Four one-pixel edges, both corners on the line.
        painter.fillRect(QRect(marker.topLeft(), QSize(marker.width(), 1)), Qt::black);
        painter.fillRect(QRect(marker.bottomLeft(), QSize(marker.width(), 1)), Qt::black);
        painter.fillRect(QRect(marker.topLeft(), QSize(1, marker.height())), Qt::black);
        painter.fillRect(QRect(marker.topRight(), QSize(1, marker.height())), Qt::black);
    }

    for (const PlacedText& label : kColourFieldLabels)
        DrawLabel(painter, label);

    const Rgb c = ToRgb(m_pickedColour);
    painter.fillRect(
        QRect(kColourSwatch.left, kColourSwatch.top, kColourSwatch.width(), kColourSwatch.height()),
        QColor(c.r, c.g, c.b));
    return canvas;
}

void CCustomColorDialog::paintEvent(QPaintEvent*) {
    // Composed off-screen and copied in one go, so nothing flickers.
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), compose());
}

void CCustomColorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_spectrum->setFocus(Qt::OtherFocusReason);
}

void CCustomColorDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    // Releases that end a drag of the window never arrive here.
    const QPoint p = event->position().toPoint();
    const int cell = PaletteCellAt({p.x(), p.y()});
    if (cell >= 0) {
        selectCell(cell);
    } else if (kColourDialogCloseBox.contains({p.x(), p.y()})) {
        reject();
    }
}

} // namespace orvo
