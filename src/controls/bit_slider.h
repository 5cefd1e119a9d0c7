#pragma once
// CBitSlider: a horizontal slider that paints nothing itself. On every paint and every
// mouse move it reports sliderChanged (WM_SLIDER_CHANGED) so that its owner draws the track
// and thumb pictures at the slider's place, using thumbOffset(). A left click anywhere on
// the track jumps to the clicked value; the wheel never moves it; keys work as usual.

#include "controls/bitmap_strip.h"
#include "model/window_messages.h"

#include <QPoint>
#include <QRect>
#include <QSlider>

#include <memory>
#include <optional>

class QProxyStyle;

namespace orvo {

class CBitWnd;
class ImageStore;

class CBitSlider : public QSlider {
    Q_OBJECT
public:
    // The message the owner handles for sliderChanged.
    static constexpr WindowMessage kChangedMessage = WM_SLIDER_CHANGED;

    explicit CBitSlider(const ImageStore* images = nullptr, QWidget* parent = nullptr);
    ~CBitSlider() override;

    // Moves to `position`, creates the thumb holder, loads the tracks and sizes the slider
    // to them (221 x 16), sets the range 0..maximum with steps of 1 and, when given, the
    // start position, and keeps the control ID it reports.
    void setup(int controlId, QPoint position, int maximum, std::optional<int> startPosition);
    // Creates the hidden thumb holder once; later calls do nothing.
    void prepareThumb();
    // Reloads both track pictures and resizes the slider to the filled one.
    void loadTrackImages();

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Where the owner draws the thumb picture, relative to the slider, for the current value.
    QPoint thumbOffset() const;
    // The thumb offset x the slider reports at `position` of the range 0..maximum; the skin's
    // scale pictures put their ticks under the thumb from it.
    static int ThumbOffsetAt(int position, int maximum);

    // The channel a click is measured against: the style's groove rectangle.
    QRect channelRect() const;
    // The value a left click at x (slider coordinates) jumps to.
    int clickValue(int x) const;

    const BitmapStrip& emptyTrack() const { return m_emptyTrack; }
    const BitmapStrip& filledTrack() const { return m_filledTrack; }
    CBitWnd* thumbWindow() const { return m_thumb; }

Q_SIGNALS:
    void sliderChanged(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateThumb();

    const ImageStore* m_images = nullptr;
    std::unique_ptr<QProxyStyle> m_style;
    CBitWnd* m_thumb = nullptr;
    BitmapStrip m_emptyTrack;
    BitmapStrip m_filledTrack;
    int m_thumbOrigin = 0;
    int m_controlId = 0;
};

} // namespace orvo
