#pragma once
// The skinned colour dialog: a 64-cell palette, the spectrum control, read-only R/G/B and
// H/S/L fields and a swatch of the current pick. The caller sets the colour, runs exec(), and
// reads pickedColour() after QDialog::Accepted.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace orvo {

class CXColorSpectrumCtrl;

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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void onSpectrumChanged(std::uint32_t colour);
    void fillFields();
    void loadBackground();

    QString m_imageFolder;
    QImage m_background;
    std::uint32_t m_pickedColour = 0;
    int m_selectedCell = -1;
    CXColorSpectrumCtrl* m_spectrum = nullptr;
    std::array<QLineEdit*, kFieldCount> m_fields{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    // Window dragging from a free spot: where the press landed, and whether it may drag.
    QPoint m_pressGlobal;
    QPoint m_pressWindowPos;
    bool m_dragArmed = false;
    bool m_dragging = false;
};

} // namespace orvo
