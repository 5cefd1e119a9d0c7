#pragma once
// The skinned colour dialog: a 64-cell palette, the spectrum control, read-only R/G/B and
// H/S/L fields and a swatch of the current pick. The caller sets the colour, runs exec(), and
// reads pickedColour() after QDialog::Accepted.

#include "controls/draw_label.h"
#include "controls/image_store.h"
#include "model/colour_model.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace orvo {

class CXColorSpectrumCtrl;

// Places of the dialog's parts, in dialog coordinates.
inline constexpr QRect kColourOkRect{218, 187, 47, 15};
inline constexpr QRect kColourCancelRect{270, 187, 47, 15};
inline constexpr QRect kColourSpectrumRect{171, 27, 160, 140};
inline constexpr int kRgbFieldX = 128;
inline constexpr int kHslFieldX = 80;
inline constexpr int kRgbLabelX = 118;
inline constexpr int kHslLabelX = 70;
inline constexpr std::array<int, 3> kFieldRowY{150, 165, 180};
inline constexpr QSize kFieldSize{30, 15};
// The letters before the number fields, each ending before its field.
inline constexpr int kColourLabelHeight = 15;
inline constexpr std::array<PlacedText, 6> kColourFieldLabels{{
    {u"R", {kRgbLabelX, kFieldRowY[0]}, kColourLabelHeight, kRgbFieldX},
    {u"G", {kRgbLabelX, kFieldRowY[1]}, kColourLabelHeight, kRgbFieldX},
    {u"B", {kRgbLabelX, kFieldRowY[2]}, kColourLabelHeight, kRgbFieldX},
    {u"H", {kHslLabelX, kFieldRowY[0]}, kColourLabelHeight, kHslFieldX},
    {u"S", {kHslLabelX, kFieldRowY[1]}, kColourLabelHeight, kHslFieldX},
    {u"L", {kHslLabelX, kFieldRowY[2]}, kColourLabelHeight, kHslFieldX},
}};
// Swatch of the current pick: left/top inside, right/bottom just outside.
inline constexpr HalfOpenRect kColourSwatch{14, 150, 59, 195};
// Marker around the selected cell, both corners on the line, relative to the cell's corner.
inline constexpr Point kCellMarkerTopLeft{-1, -1};
inline constexpr Point kCellMarkerBottomRight{12, 11};
// Spectrum colour before the first setPickedColour.
inline constexpr ColorRef kSpectrumInitialColour = MakeColorRef(192, 192, 192);
// Used only when "Color_BK.png" cannot be read, so the dialog stays usable.
inline constexpr QSize kColourDialogFallbackSize{340, 210};
inline constexpr QStringView kColourBackgroundImage = u"Color_BK.png";

class CCustomColorDialog : public QDialog {
    Q_OBJECT
public:
    // The six number fields, in the order the dialog lays them out.
    enum Field { FieldRed, FieldGreen, FieldBlue, FieldHue, FieldSaturation, FieldLuminosity };
    static constexpr int kFieldCount = 6;

    // imageFolder is the skin folder and ends in '/'; "Color_BK.png" is read from it.
    explicit CCustomColorDialog(const QString& imageFolder, QWidget* parent = nullptr);
    ~CCustomColorDialog() override;

    // Windows colour value (red in the low byte). Setting it also moves the spectrum, refills
    // the fields and marks the first palette cell of that colour.
    void setPickedColour(std::uint32_t colorref);
    // The latest pick, whichever way the dialog ended.
    std::uint32_t pickedColour() const { return m_pickedColour; }

    // Palette cell whose marker is drawn, or -1.
    int selectedCell() const { return m_selectedCell; }
    QString fieldText(Field field) const;
    CXColorSpectrumCtrl* spectrum() const { return m_spectrum; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void onSpectrumChanged(std::uint32_t colour);
    void selectCell(int cell);
    QImage compose() const;
    void fillFields();

    ImageStore m_images;
    std::uint32_t m_pickedColour = 0;
    int m_selectedCell = -1;
    CXColorSpectrumCtrl* m_spectrum = nullptr;
    std::array<QLineEdit*, kFieldCount> m_fields{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace orvo
