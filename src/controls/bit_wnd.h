#pragma once
// A bitmap button: shows one frame of its strip (0 normal, 1 hover, 2 pressed or toggled)
// and reports clicks with its control ID. The bitmap slider keeps one, hidden, as the
// holder of its thumb picture.

#include "controls/bitmap_strip.h"

#include <QWidget>

namespace orvo {

class CBitWnd : public QWidget {
    Q_OBJECT
public:
    explicit CBitWnd(QWidget* parent = nullptr);

    // Takes the strip and sizes the button to one frame (or to `fallback` without one).
    void setStrip(BitmapStrip strip, QSize fallback = {});
    const BitmapStrip& strip() const { return m_strip; }
    int currentFrame() const { return m_frame; }

    void setControlId(int id) { m_controlId = id; }
    int controlId() const { return m_controlId; }
    void setToggleMode(bool on) { m_toggleMode = on; }
    bool isToggled() const { return m_toggled; }
    // Report the click when the button goes down instead of when it comes up.
    void setNotifyOnPress(bool on) { m_notifyOnPress = on; }

Q_SIGNALS:
    void clicked(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showFrame(int frame);

    BitmapStrip m_strip;
    int m_frame = 0;
    int m_controlId = 0;
    bool m_toggleMode = false;
    bool m_toggled = false;
    bool m_notifyOnPress = false;
};

} // namespace orvo
