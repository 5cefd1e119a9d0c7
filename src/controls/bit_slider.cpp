#include "controls/bit_slider.h"

#include "controls/bit_wnd.h"
#include "controls/image_store.h"
#include "controls/skin_resources.h"

#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace orvo {

namespace {

// The owner draws the 15-pixel thumb picture 10 pixels left of the style's handle (as
// thumbOffset() computes), so a 5-pixel handle travelling 5 pixels in from each end puts
// the picture's centre on the handle's centre and keeps it inside the 221-pixel track.
constexpr int kHandleLength = 5;
constexpr int kThumbPictureShift = 10;
constexpr int kGrooveMargin = (kThumbFrameSize.width() - kHandleLength) / 2;
// The handle's travel: the picture moves from the track's first to its last column.
constexpr int kThumbTravel = kTrackSize.width() - kThumbFrameSize.width();

int HandleOffset(int minimum, int maximum, int position, int span, bool upsideDown) {
    return QStyle::sliderPositionFromValue(minimum, maximum, position, span, upsideDown);
}

class BitSliderStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_Slider || slider == nullptr || slider->orientation != Qt::Horizontal)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const QRect all = slider->rect;
        const QRect groove(all.left() + kGrooveMargin, all.top(), all.width() - 2 * kGrooveMargin,
                           all.height());
        switch (sub) {
        case SC_SliderGroove:
            return groove;
        case SC_SliderHandle: {
            const int offset =
                sliderPositionFromValue(slider->minimum, slider->maximum, slider->sliderPosition,
                                        groove.width() - kHandleLength, slider->upsideDown);
            return QRect(groove.left() + offset, all.top(), kHandleLength, all.height());
        }
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_SliderLength)
            return kHandleLength;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        // A left click takes the handle to the pointer and lets it be dragged from there.
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        if (hint == SH_Slider_PageSetButtons)
            return Qt::NoButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

CBitSlider::CBitSlider(const ImageStore* images, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), m_images(images),
      m_style(std::make_unique<BitSliderStyle>()) {
    setStyle(m_style.get());
    // The owner paints the slider's place; nothing here may cover it.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setTracking(true);
}

CBitSlider::~CBitSlider() {
    // The style must outlive its use by the widget.
    setStyle(nullptr);
}

void CBitSlider::setup(int controlId, QPoint position, int maximum,
                       std::optional<int> startPosition) {
    setGeometry(position.x(), position.y(), 30, 10);
    prepareThumb();
    loadTrackImages();
    m_thumbOrigin = 0;
    setRange(0, maximum);
    setSingleStep(1);
    setPageStep(1);
    if (startPosition)
        setValue(*startPosition);
    m_controlId = controlId;
}

void CBitSlider::prepareThumb() {
    if (m_thumb != nullptr)
        return;
    m_thumb = new CBitWnd(this);
    m_thumb->setGeometry(0, 0, 0, 0);
    const QImage strip = m_images ? m_images->image(kThumbStripImage.toString()) : QImage();
    m_thumb->setStrip(BitmapStrip(strip, kThumbFrameSize.width(), kThumbFrameSize.height()),
                      kThumbFrameSize);
    m_thumb->hide();
}

void CBitSlider::loadTrackImages() {
    const auto load = [this](QStringView name) {
        return BitmapStrip(m_images ? m_images->image(name.toString()) : QImage(), 0, 0);
    };
    m_emptyTrack = load(kTrackEmptyImage);
    m_filledTrack = load(kTrackFilledImage);
    resize(m_filledTrack.isNull() ? kTrackSize : m_filledTrack.frameSize());
}

int CBitSlider::ThumbOffsetAt(int position, int maximum) {
    // Handle left = margin + offset, picture left = handle left + margin - shift.
    return HandleOffset(0, maximum, position, kThumbTravel, false) + 2 * kGrooveMargin -
           kThumbPictureShift;
}

QRect CBitSlider::channelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

int CBitSlider::clickValue(int x) const {
    const QRect channel = channelRect();
    const long long d = x - channel.left();
    const long long w = channel.right() - channel.left();
    if (w <= 0)
        return minimum();
    const long long span = static_cast<long long>(maximum()) - minimum();
    long long q = d * span / w;
    // Round the exact quotient half up: its fraction is (d * span mod w) / w.
    const long long remainder = d * span - q * w;
    if (2 * remainder >= w)
        ++q;
    return static_cast<int>(q);
}

QPoint CBitSlider::thumbOffset() const {
    // Computed from the current value rather than remembered from the last paint, so a
    // picture composed right after setValue() already shows the thumb in its new place.
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QSize holder = m_thumb ? m_thumb->size() : kThumbFrameSize;
    int left = 0;
    int top = 0;
    if (orientation() == Qt::Horizontal) {
        top = m_thumbOrigin;
        left = handle.left() + (holder.width() - handle.width()) / 2;
    } else {
        left = m_thumbOrigin;
        top = handle.top() + (holder.height() - handle.height()) / 2;
    }
    return QPoint(left - kThumbPictureShift, top);
}

void CBitSlider::updateThumb() {
    Q_EMIT sliderChanged(m_controlId);
    if (m_thumb)
        m_thumb->hide();
}

void CBitSlider::paintEvent(QPaintEvent* /*event*/) {
    updateThumb();
}

void CBitSlider::mouseMoveEvent(QMouseEvent* event) {
    updateThumb();
    QSlider::mouseMoveEvent(event);
}

void CBitSlider::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // setValue clamps a click beyond the channel's ends to the range.
    setValue(clickValue(qRound(event->position().x())));
}

void CBitSlider::wheelEvent(QWheelEvent* event) {
    event->accept();
}

} // namespace orvo
