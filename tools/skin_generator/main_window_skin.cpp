// The main window: background, logos, title buttons, the keyboard picture and its
// highlighted copy, the bottom buttons and the help menu.

#include "controls/qt_convert.h"
#include "model/window_layout.h"
#include "tools/skin_generator/skin_painter.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace orvo::skin {

namespace {

constexpr QRect kTitleStrip{0, 0, 1000, 58};
constexpr QRectF kPalmRest{350, 374, 550, 70};
// The keyboard's case inside the keyboard picture (picture coordinates).
constexpr QRectF kKeyboardCase{34, 64, 600, 199};

void PaintBackground(QImage& window) {
    QPainter p(&window);
    QLinearGradient body(0, 0, 0, window.height());
    body.setColorAt(0, kWindowTop);
    body.setColorAt(1, kWindowBottom);
    p.fillRect(window.rect(), body);

    QLinearGradient title(0, 0, 0, kTitleStrip.height());
    title.setColorAt(0, QColor(32, 35, 41));
    title.setColorAt(1, QColor(17, 19, 22));
    p.fillRect(kTitleStrip, title);
    p.fillRect(QRect(0, kTitleStrip.bottom() + 1, window.width(), 1), kPanelEdge);
    FadingLine(p, 280, 720, kTitleStrip.bottom() + 2, kAccent);

    // The lit palm rest below the keyboard picture.
    RoundedBox(p, kPalmRest, 18, QColor(35, 38, 43), QColor(20, 22, 26), QColor(54, 58, 66));
    FadingLine(p, 380, 870, static_cast<int>(kPalmRest.top()) + 3, kAccentDark);
    FadingLine(p, 420, 830, static_cast<int>(kPalmRest.bottom()) - 2, QColor(6, 90, 125));

    FadingLine(p, 290, 995, 580, kPanelEdge);
    p.setPen(QColor(46, 50, 57));
    p.setBrush(Qt::NoBrush);
    p.drawRect(window.rect().adjusted(0, 0, -1, -1));
}

QImage Logo(const QImage& window) {
    QImage logo = Crop(window, QRect(ToQPoint(kLogoPictures[0].at), QSize(260, 56)));
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawEmblem(p, QPointF(32, 28), 15);

    QFont word = SkinFont(17, true);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    p.setFont(word);
    p.setPen(kText);
    p.drawText(QPointF(58, 34), QStringLiteral("ZORVANTA"));
    const qreal used = QFontMetricsF(word).horizontalAdvance(QStringLiteral("ZORVANTA "));
    p.setPen(kAccent);
    p.drawText(QPointF(58 + used, 34), QStringLiteral("ORVO"));
    return logo;
}

QImage Crest(const QImage& window) {
    QImage crest = Crop(window, QRect(ToQPoint(kLogoPictures[1].at), QSize(84, 44)));
    QPainter p(&crest);
    p.setRenderHint(QPainter::Antialiasing);
    FadingLine(p, 2, 32, 22, kAccentDark);
    FadingLine(p, 52, 82, 22, kAccentDark);
    QPainterPath diamond;
    diamond.moveTo(42, 13);
    diamond.lineTo(51, 22);
    diamond.lineTo(42, 31);
    diamond.lineTo(33, 22);
    diamond.closeSubpath();
    p.setBrush(QColor(6, 60, 82));
    p.setPen(QPen(kAccent, 1.2));
    p.drawPath(diamond);
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(42, 22), 2.2, 2.2);
    return crest;
}

enum class TitleGlyph { Help, Minimise, Close };

QImage TitleButton(const QImage& window, QPoint at, TitleGlyph glyph, bool over) {
    QImage button = Crop(window, QRect(at, QSize(17, 16)));
    QPainter p(&button);
    const QColor hot = glyph == TitleGlyph::Close ? QColor(214, 64, 64) : kAccent;
    if (over)
        RoundedBox(p, QRectF(0, 0, 17, 16), 3, hot.lighter(115), hot.darker(125), hot.lighter(140));
    else
        RoundedBox(p, QRectF(0, 0, 17, 16), 3, kRaised, kRaisedLow, QColor(62, 66, 74));
    const QColor ink = over ? QColor(Qt::white) : kText;
    QPainterPath path;
    switch (glyph) {
    case TitleGlyph::Help:
        CentredText(p, QRect(0, 0, 17, 16), QStringLiteral("?"), SkinFont(11, true), ink);
        return button;
    case TitleGlyph::Minimise:
        path.moveTo(5, 10.5);
        path.lineTo(12, 10.5);
        break;
    case TitleGlyph::Close:
        path.moveTo(5.5, 4.5);
        path.lineTo(11.5, 10.5);
        path.moveTo(11.5, 4.5);
        path.lineTo(5.5, 10.5);
        break;
    }
    Stroke(p, path, ink, 1.6);
    return button;
}

// The outline of a key, inset by the given amounts. The big Enter key is an L: its upper
// part is wider than its lower part, and both share the right edge.
QPainterPath KeyOutline(std::span<const InclusiveRect> parts, qreal left, qreal top, qreal right,
                        qreal bottom) {
    QPainterPath path;
    const InclusiveRect& a = parts.front();
    if (parts.size() == 1) {
        path.addRoundedRect(QRectF(a.left + left, a.top + top, a.width() + 1 - left - right,
                                   a.height() + 1 - top - bottom),
                            2.5, 2.5);
        return path;
    }
    const InclusiveRect& b = parts[1];
    path.moveTo(a.left + left, a.top + top);
    path.lineTo(a.right + 1 - right, a.top + top);
    path.lineTo(b.right + 1 - right, b.bottom + 1 - bottom);
    path.lineTo(b.left + left, b.bottom + 1 - bottom);
    path.lineTo(b.left + left, a.bottom + 1 - bottom);
    path.lineTo(a.left + left, a.bottom + 1 - bottom);
    path.closeSubpath();
    return path;
}

// One key cap; `parts` are its rectangles in picture coordinates.
void DrawKey(QPainter& p, std::span<const InclusiveRect> parts, QStringView label, bool lit) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor(4, 70, 100) : QColor(14, 15, 18));
    p.drawPath(KeyOutline(parts, 0, 0, 0, 0));

    const QPainterPath face = KeyOutline(parts, 1.5, 1.0, 1.5, 2.5);
    const QRectF bounds = face.boundingRect();
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0, lit ? QColor(40, 196, 244) : QColor(60, 64, 72));
    fill.setColorAt(1, lit ? QColor(6, 132, 186) : QColor(39, 42, 48));
    p.setBrush(fill);
    p.setPen(QPen(lit ? QColor(150, 228, 255) : QColor(74, 79, 88), 1, Qt::SolidLine, Qt::SquareCap,
                  Qt::RoundJoin));
    p.drawPath(face);
    p.restore();

    if (label.isEmpty())
        return;
    // Legends sit in the upper part of the key (the big keys' upper part); a two-word
    // legend that does not fit goes on two lines.
    const InclusiveRect& top = parts.front();
    const QRect box(top.left + 1, top.top + 1, top.width() - 1, top.height() - 2);
    const QString text = label.toString();
    const QColor ink = lit ? QColor(Qt::white) : QColor(200, 205, 212);
    int size = 9;
    QFont font = SkinFont(size, lit);
    const auto fits = [&](const QFont& f) {
        return QFontMetrics(f).horizontalAdvance(text) <= box.width() - 3;
    };
    if (!fits(font) && text.contains(u' ')) {
        p.save();
        p.setFont(SkinFont(8, lit));
        p.setPen(ink);
        p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
        p.restore();
        return;
    }
    while (size > 7 && !fits(font))
        font = SkinFont(--size, lit);
    CentredText(p, box, text, font, ink);
}

QImage KeyboardPicture(const QImage& window, bool lit) {
    const QPoint origin(kKeyboardOrigin.x, kKeyboardOrigin.y);
    QImage picture = Crop(window, QRect(origin, kKeyboardPictureSize));
    QPainter p(&picture);
    RoundedBox(p, kKeyboardCase, 10, QColor(37, 40, 46), QColor(22, 24, 28), QColor(60, 64, 72));
    FadingLine(p, 60, 610, static_cast<int>(kKeyboardCase.bottom()) - 1, kAccentDark);
    // Lock indicators and the brand on the case.
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? kAccent : QColor(6, 100, 140));
        p.drawEllipse(QPointF(540 + 16 * i, 90), 2, 2);
    }
    QFont brand = SkinFont(9, true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(brand);
    p.setPen(kTextDim);
    p.drawText(QPointF(264, 93), QStringLiteral("ZORVANTA ORVO"));

    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const std::span<const InclusiveRect> parts = KeyParts(key);
        if (parts.empty())
            continue;
        const std::string_view label = KeyPictureTable[key].label;
        DrawKey(p, parts, QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())),
                lit);
    }
    return picture;
}

enum class ButtonLook { Plain, Primary };

QImage WideButton(const QImage& window, const QRect& area, const QString& text, ButtonLook look,
                  int textSize) {
    QImage button = Crop(window, area);
    QPainter p(&button);
    const QRectF box(0, 0, area.width(), area.height());
    if (look == ButtonLook::Primary)
        RoundedBox(p, box, 4, QColor(28, 184, 238), QColor(6, 124, 176), QColor(110, 214, 250));
    else
        RoundedBox(p, box, 4, QColor(50, 54, 61), QColor(31, 33, 38), QColor(72, 77, 86));
    if (!text.isEmpty())
        CentredText(p, button.rect(), text, SkinFont(textSize, look == ButtonLook::Primary),
                    look == ButtonLook::Primary ? QColor(Qt::white) : kText);
    return button;
}

// The profile and macro buttons: the window writes their labels; a stripe marks them.
QImage SideButton(const QImage& window, QPoint at) {
    QImage button = WideButton(window, QRect(at, QSize(75, 32)), QString(), ButtonLook::Plain, 0);
    QPainter p(&button);
    p.fillRect(QRect(7, 9, 2, 14), kAccent);
    return button;
}

QImage HelpMenu(const QImage& window) {
    QImage menu = Crop(window, ToQRect(kHelpMenuArea));
    QPainter p(&menu);
    RoundedBox(p, QRectF(0, 0, 167, 78), 5, QColor(27, 30, 35), QColor(15, 16, 19), kAccentDark);
    FadingLine(p, 6, 161, 25, kPanelEdge);
    FadingLine(p, 6, 161, 50, kPanelEdge);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    for (int row = 0; row < 3; ++row)
        p.drawEllipse(QPointF(11, 11.5 + 25 * row), 2, 2);
    return menu;
}

} // namespace

void PaintMainWindow(SkinWriter& out, QImage& window) {
    window = NewImage(kMainWindowSize);
    PaintBackground(window);
    PaintLeftPanelBody(window);
    out.write(kMainFolder, kBackgroundPicture.name, window);
    out.write(kMainFolder, kLogoPictures[0].name, Logo(window));
    out.write(kMainFolder, kLogoPictures[1].name, Crest(window));

    const std::pair<MainRegion, TitleGlyph> titleButtons[] = {
        {kHelpRegion, TitleGlyph::Help},
        {kMinimiseRegion, TitleGlyph::Minimise},
        {kCloseRegion, TitleGlyph::Close},
    };
    for (const auto& [region, glyph] : titleButtons)
        out.writeRegion(region, [&, glyph](QPoint at, bool over) {
            return TitleButton(window, at, glyph, over);
        });

    const QImage keyboard = KeyboardPicture(window, false);
    out.write(kMainFolder, kKeyboardPicture.name, keyboard);
    out.write(kMainFolder, u"kb_bk.png", keyboard); // the other spelling of the name
    out.write(kMainFolder, kKeyHighlightPicture, KeyboardPicture(window, true));

    const struct {
        MainRegion region;
        const char* text;
        ButtonLook look;
        int textSize;
    } bottomButtons[] = {
        {kDefaultRegion, "Por defecto", ButtonLook::Plain, 11},
        {kCancelRegion, "Cancelar", ButtonLook::Plain, 12},
        {kSaveRegion, "Guardar", ButtonLook::Primary, 12},
    };
    for (const auto& b : bottomButtons) {
        const RegionPlace& place = RegionPlaceOf(b.region);
        out.write(
            kMainFolder, place.picture,
            WideButton(window, ToQRect(place.hit), QString::fromUtf8(b.text), b.look, b.textSize));
    }
    for (MainRegion side : {kProfilesRegion, kMacrosRegion}) {
        const RegionPlace& place = RegionPlaceOf(side);
        out.write(kMainFolder, place.picture, SideButton(window, ToQPoint(place.drawAt)));
    }
    out.write(kMainFolder, kHelpMenuPicture.name, HelpMenu(window));
}

} // namespace orvo::skin
