// The main window's left column: the panel background, the effect selector, colour and
// direction controls, switches, the slider tracks and thumb, and the slider scales.

#include "controls/bit_slider.h"
#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "model/slider_fields.h"
#include "tools/skin_generator/skin_painter.h"

#include <QConicalGradient>
#include <QPainterPath>

namespace orvo::skin {

namespace {

const QPoint kPanelOrigin = ToQPoint(kLeftPanelPicture.at);
// Window rows of the section dividers and the section headers' accent ticks.
constexpr int kDividerRows[] = {279, 445, 563};
constexpr int kHeaderRows[] = {98, 282, 448, 505};
// Any slider's place: the tracks and thumb take their surroundings from here.
const QPoint kSliderSample = ToQPoint(kSliderPlaces[*SliderIndex(kSpeedSlider)].position);
// The switch pictures are cut from the game-mode switch's place.
constexpr QSize kSwitchSize{20, 20};

QColor FromRgb(unsigned rgb) {
    return QColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

// The panel's texts start at its picture's left column ("MODO JUEGO" at x 17), so its left
// edge lies this far further left, in the window's background, clear of every text.
constexpr int kPanelEdgeOutset = 5;

} // namespace

void PaintLeftPanelBody(QImage& window) {
    QPainter p(&window);
    p.translate(kPanelOrigin);
    const QRectF body(-kPanelEdgeOutset, 0, kLeftPanelSize.width() + kPanelEdgeOutset,
                      kLeftPanelSize.height());
    RoundedBox(p, body, 8, kPanel, kPanel, kPanelEdge);
    // A lighter band across the top with a thin accent.
    QLinearGradient band(0, 1, 0, 18);
    band.setColorAt(0, QColor(36, 39, 45));
    band.setColorAt(1, kPanel);
    QPainterPath inside;
    inside.addRoundedRect(body.adjusted(1, 1, -1, -1), 7, 7);
    p.setClipPath(inside);
    p.fillRect(QRectF(body.left(), 1, body.width(), 17), band);
    p.setClipping(false);
    FadingLine(p, 20, 236, 1, kAccentDark);
    for (int row : kDividerRows)
        FadingLine(p, 6, kLeftPanelSize.width() - 6, row - kPanelOrigin.y(), kPanelEdge);
    for (int row : kHeaderRows)
        p.fillRect(QRect(5, row + 2 - kPanelOrigin.y(), 2, 12), kAccent);
}

namespace {

QImage SelectorBar(const QImage& window) {
    QImage bar = Crop(window, ToQRect(RegionPlaceOf(kEffectSelectorRegion).hit));
    QPainter p(&bar);
    RoundedBox(p, QRectF(0, 0, 223, 25), 4, QColor(46, 50, 57), QColor(31, 34, 39),
               QColor(68, 73, 82));
    QPainterPath chevron;
    // The arrow starts where the name shown in the bar must end.
    const qreal arrow = kSelectorArrowLeft - RegionPlaceOf(kEffectSelectorRegion).hit.left;
    chevron.moveTo(arrow, 10);
    chevron.lineTo(arrow + 5, 15);
    chevron.lineTo(arrow + 10, 10);
    Stroke(p, chevron, kAccent, 1.8);
    FadingLine(p, 4, 219, 23, kAccentDark);
    return bar;
}

QImage Multicolour(const QImage& window) {
    QImage swatch = Crop(window, ToQRect(RegionPlaceOf(kLastColourSlotRegion).hit));
    QPainter p(&swatch);
    p.setRenderHint(QPainter::Antialiasing);
    QConicalGradient rainbow(12, 12, 90);
    const QColor stops[] = {{255, 40, 40}, {255, 200, 0},  {40, 220, 60}, {0, 200, 255},
                            {60, 80, 255}, {230, 40, 230}, {255, 40, 40}};
    for (int i = 0; i < 7; ++i)
        rainbow.setColorAt(i / 6.0, stops[i]);
    p.setBrush(rainbow);
    p.setPen(QPen(QColor(12, 12, 14), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 3, 3);
    p.setBrush(QColor(255, 255, 255, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(12, 12), 3, 3);
    return swatch;
}

enum class Arrow { Left, Right, Up, Down };

QImage DirectionButton(const QImage& window, QPoint at, Arrow arrow, bool enabled) {
    QImage button = Crop(window, QRect(at, QSize(17, 16)));
    QPainter p(&button);
    if (enabled)
        RoundedBox(p, QRectF(0, 0, 17, 16), 3, QColor(28, 186, 240), kAccentDark,
                   QColor(120, 220, 255));
    else
        RoundedBox(p, QRectF(0, 0, 17, 16), 3, kRaised, kRaisedLow, QColor(62, 66, 74));
    QPainterPath tip;
    switch (arrow) {
    case Arrow::Left:
        tip.moveTo(11, 4);
        tip.lineTo(6, 8);
        tip.lineTo(11, 12);
        break;
    case Arrow::Right:
        tip.moveTo(6, 4);
        tip.lineTo(11, 8);
        tip.lineTo(6, 12);
        break;
    case Arrow::Up:
        tip.moveTo(4.5, 10.5);
        tip.lineTo(8.5, 5.5);
        tip.lineTo(12.5, 10.5);
        break;
    case Arrow::Down:
        tip.moveTo(4.5, 5.5);
        tip.lineTo(8.5, 10.5);
        tip.lineTo(12.5, 5.5);
        break;
    }
    Stroke(p, tip, enabled ? QColor(Qt::white) : kTextDim, 1.8);
    return button;
}

// A round switch: a ring when off, a lit dot inside an accent ring when on.
QImage Switch(const QImage& window, bool on) {
    QImage image =
        Crop(window, QRect(ToQPoint(RegionPlaceOf(kGameModeRegion).drawAt), kSwitchSize));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(10, 10);
    p.setPen(QPen(on ? kAccent : QColor(92, 98, 108), 1.6));
    p.setBrush(QColor(14, 15, 18));
    p.drawEllipse(centre, 8, 8);
    if (on) {
        QRadialGradient dot(centre, 5);
        dot.setColorAt(0, QColor(160, 232, 255));
        dot.setColorAt(1, kAccent);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(centre, 4.5, 4.5);
    }
    return image;
}

QImage Track(const QImage& window, const QColor& bar) {
    QImage track = Crop(window, QRect(kSliderSample, kTrackSize));
    QPainter p(&track);
    const int width = kTrackSize.width();
    QColor soft = bar;
    soft.setAlpha(110);
    p.fillRect(QRect(1, 5, width - 2, 1), soft);
    p.fillRect(QRect(1, 10, width - 2, 1), soft);
    p.fillRect(QRect(0, 6, width, 4), bar);
    return track;
}

enum class ThumbLook { Normal, Hover, Pressed };

void DrawThumb(QPainter& p, QPoint at, ThumbLook look) {
    const QRectF box(at, kThumbFrameSize);
    switch (look) {
    case ThumbLook::Normal:
        RoundedBox(p, box, 4, QColor(238, 241, 246), QColor(168, 174, 184), QColor(110, 116, 126));
        break;
    case ThumbLook::Hover:
        RoundedBox(p, box, 4, QColor(255, 255, 255), QColor(150, 214, 240), kAccent);
        break;
    case ThumbLook::Pressed:
        RoundedBox(p, box, 4, QColor(120, 210, 245), kAccentDark, kAccent);
        break;
    }
    p.fillRect(QRect(at.x() + 7, at.y() + 4, 1, 6),
               look == ThumbLook::Normal ? kAccentDark : QColor(255, 255, 255));
}

// Tick marks and position numbers under a slider. `sliderLeft` and `extra` place the thumb
// as the window draws it (it shifts some thumbs by a pixel or two).
QImage Scale(const QImage& window, const QRect& area, int sliderLeft, int maximum, int extra,
             int top) {
    QImage scale = Crop(window, area);
    QPainter p(&scale);
    const QFont font = SkinFont(9);
    for (int position = 0; position <= maximum; ++position) {
        const int shift = extra + (position == 0 ? 2 : 0);
        const int centre = sliderLeft + CBitSlider::ThumbOffsetAt(position, maximum) + shift +
                           kThumbFrameSize.width() / 2 - area.left();
        p.fillRect(QRect(centre, top, 1, 3), kPanelEdge.lighter(140));
        CentredText(p, QRect(centre - 10, top + 3, 21, 11), QString::number(position), font,
                    kTextDim);
    }
    return scale;
}

} // namespace

void PaintLeftPanel(SkinWriter& out, QImage& window) {
    // The body is in the window already (PaintMainWindow): the picture is its crop.
    out.write(kMainFolder, kLeftPanelPicture.name,
              Crop(window, QRect(kPanelOrigin, kLeftPanelSize)));
    out.write(kMainFolder, RegionPlaceOf(kEffectSelectorRegion).picture, SelectorBar(window));
    out.write(kMainFolder, RegionPlaceOf(kLastColourSlotRegion).picture, Multicolour(window));

    const std::pair<MainRegion, Arrow> arrows[] = {
        {kDirectionLRegion, Arrow::Left},
        {kDirectionRRegion, Arrow::Right},
        {kDirectionTRegion, Arrow::Up},
        {kDirectionBRegion, Arrow::Down},
    };
    for (const auto& [region, arrow] : arrows)
        out.writeRegion(region, [&, arrow](QPoint at, bool disabled) {
            return DirectionButton(window, at, arrow, !disabled);
        });

    const RegionPlace& gameMode = RegionPlaceOf(kGameModeRegion);
    const QImage on = Switch(window, true);
    const QImage off = Switch(window, false);
    out.write(kMainFolder, gameMode.picture, on);
    out.write(kMainFolder, u"enable.png", on); // the other spelling of the name
    out.write(kMainFolder, gameMode.altPicture, off);
    out.write(kMainFolder, u"disable.png", off);

    out.write(kMainFolder, kTrackEmptyImage, Track(window, FromRgb(kTrackEmptyColour)));
    out.write(kMainFolder, kTrackFilledImage, Track(window, FromRgb(kTrackFilledColour)));

    // The thumb sits one row below the track's top.
    const QRect thumbArea(kSliderSample + QPoint(0, 1), kThumbFrameSize);
    QImage thumb = Crop(window, thumbArea);
    {
        QPainter p(&thumb);
        DrawThumb(p, QPoint(0, 0), ThumbLook::Normal);
    }
    out.write(kMainFolder, kThumbImage, thumb);
    QImage strip =
        NewImage(QSize(kThumbStripFrames * kThumbFrameSize.width(), kThumbFrameSize.height()));
    {
        QPainter p(&strip);
        const ThumbLook looks[] = {ThumbLook::Normal, ThumbLook::Hover, ThumbLook::Pressed};
        for (int frame = 0; frame < kThumbStripFrames; ++frame) {
            const QPoint at(frame * kThumbFrameSize.width(), 0);
            p.drawImage(at, Crop(window, thumbArea));
            DrawThumb(p, at, looks[frame]);
        }
    }
    out.write(kMainFolder, kThumbStripImage, strip);

    // Response time (drawn one pixel right) and report rate, both shifted two more pixels at
    // position 0.
    const SliderPlace& responseTime = kSliderPlaces[*SliderIndex(kResponseTimeSlider)];
    const SliderPlace& reportRate = kSliderPlaces[*SliderIndex(kReportRateSlider)];
    out.write(kMainFolder, kResponseTimeScale.name,
              Scale(window, QRect(ToQPoint(kResponseTimeScale.at), QSize(225, 16)),
                    responseTime.position.x, responseTime.maximum, 1, 1));
    out.write(kMainFolder, kReportRateScale.name,
              Scale(window, QRect(ToQPoint(kReportRateScale.at), QSize(231, 28)),
                    reportRate.position.x, reportRate.maximum, 0, 6));
}

} // namespace orvo::skin
