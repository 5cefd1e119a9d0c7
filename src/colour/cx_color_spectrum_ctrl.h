#pragma once
// A self-drawn HSL picker: a hue/saturation field at medium luminosity with a crosshair, and
// a luminosity bar for the current hue and saturation with an arrow. Mouse and keyboard
// changes are reported with selChange; a double click reports selEndOk.

#include "model/colour_model.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <string_view>

namespace orvo {

// Names of the two notifications, as other windows know them.
inline constexpr std::string_view kSelChangeMessageName = "WM_XCOLORPICKER_SELCHANGE";
inline constexpr std::string_view kSelEndOkMessageName = "WM_XCOLORPICKER_SELENDOK";

class CXColorSpectrumCtrl : public QWidget {
    Q_OBJECT
public:
    // tooltipMode 0 shows no tooltip; 2 "#RRGGBB", 3 "BBGGRR", 4 "HSL(..)", others "RGB(..)".
    explicit CXColorSpectrumCtrl(QWidget* parent = nullptr, ColorRef initialColour = kNoColour,
                                 int tooltipMode = 0);
    ~CXColorSpectrumCtrl() override;

    // Moves crosshair and arrow to the colour without notifying anyone.
    void setColour(ColorRef colour);
    ColorRef colour() const { return m_colour; }
    ColorRef lastReportedColour() const { return m_lastReported; }

    int hue() const { return m_hsl.hue; }
    int saturation() const { return m_hsl.saturation; }
    int luminosity() const { return m_hsl.luminosity; }

    bool spectrumHasFocus() const { return m_spectrumFocus; }
    bool barHasFocus() const { return m_barFocus; }
    Point crosshair() const { return m_crosshair; }
    int arrow() const { return m_arrow; }

    // The tooltip for a client point, empty where none is shown or in mode 0.
    QString tooltipTextAt(QPoint pos) const;
    // What the control currently shows.
    const QImage& frame();

Q_SIGNALS:
    void selChange(std::uint32_t colour);
    void selEndOk(std::uint32_t colour);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    SpectrumGeometry geometryNow() const { return {width(), height()}; }
    void ensureFrame();
    void paintSpectrum();
    void drawCrosshair(bool notify);
    void drawBar();
    void drawArrow(bool notify);
    void notify();
    void recomputeColour();
    void pickInSpectrum(Point p);
    void pickInBar(int y);
    void setFocusPart(SpectrumPart part);

    QImage m_spectrum; // painted once per size; never drawn over
    QImage m_frame;    // the spectrum with crosshair, bar and arrow: what paintEvent shows
    ColorRef m_colour = kNoColour;
    ColorRef m_lastReported = kNoColour;
    Hsl m_hsl;
    Point m_crosshair{0, kSpectrumTop};
    int m_arrow = 0;
    bool m_draggingBar = false;
    bool m_draggingSpectrum = false;
    bool m_spectrumFocus = false;
    bool m_barFocus = false;
    int m_tooltipMode = 0;
};

} // namespace orvo
