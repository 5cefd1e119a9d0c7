// The key assignment dialog and its action editor page ("png/Custom/"), and its shape.

#include "controls/skin_resources.h"
#include "tools/skin_generator/skin_painter.h"

namespace orvo::skin {

namespace {

constexpr int kRadius = 8;
constexpr int kTitleHeight = 27;
constexpr QPoint kSubPanelAt{2, 34};
constexpr QSize kSubPanelSize{332, 206};
const QColor kContent{17, 18, 21};
const QColor kFieldEdge{70, 75, 84};

QImage SubPanel(const QImage& dialog) {
    QImage panel = Crop(dialog, QRect(kSubPanelAt, kSubPanelSize));
    QPainter p(&panel);
    // The page tabs' band, then the page's content area.
    QLinearGradient band(0, 0, 0, 20);
    band.setColorAt(0, QColor(33, 36, 42));
    band.setColorAt(1, QColor(25, 27, 32));
    p.fillRect(QRect(0, 0, kSubPanelSize.width(), 21), band);
    p.fillRect(QRect(0, 21, kSubPanelSize.width(), 1), kPanelEdge);
    p.fillRect(QRect(0, 22, kSubPanelSize.width(), kSubPanelSize.height() - 22), kContent);
    p.setPen(kPanelEdge);
    p.drawLine(0, kSubPanelSize.height() - 1, kSubPanelSize.width() - 1,
               kSubPanelSize.height() - 1);
    return panel;
}

// A frame around a real control's place: black inside, where the control draws.
QImage Field(const QImage& dialog, const QRect& area) {
    QImage field = Crop(dialog, area);
    QPainter p(&field);
    p.fillRect(field.rect(), Qt::black);
    p.setPen(kFieldEdge);
    p.drawRect(field.rect().adjusted(0, 0, -1, -1));
    p.fillRect(QRect(1, 1, area.width() - 2, 1), QColor(30, 32, 36));
    return field;
}

QImage CheckBox(const QImage& dialog, bool ticked) {
    QImage box = Crop(dialog, QRect(19, 251, 11, 10));
    QPainter p(&box);
    if (ticked) {
        p.fillRect(box.rect(), kAccent);
        QPainterPath tick;
        tick.moveTo(2.5, 5);
        tick.lineTo(4.5, 7.5);
        tick.lineTo(8.5, 2.5);
        Stroke(p, tick, Qt::white, 1.4);
    } else {
        p.fillRect(box.rect(), QColor(12, 13, 15));
    }
    p.setPen(ticked ? QColor(120, 220, 255) : QColor(100, 106, 116));
    p.drawRect(box.rect().adjusted(0, 0, -1, -1));
    return box;
}

QImage FooterButton(const QImage& dialog, QPoint at, bool primary, bool over) {
    QImage button = Crop(dialog, QRect(at, QSize(42, 23)));
    QPainter p(&button);
    const QRectF box(0, 0, 42, 23);
    if (primary)
        RoundedBox(p, box, 4, over ? QColor(70, 206, 250) : QColor(28, 184, 238),
                   over ? QColor(10, 150, 205) : QColor(6, 124, 176),
                   over ? QColor(190, 240, 255) : QColor(110, 214, 250));
    else
        RoundedBox(p, box, 4, over ? QColor(66, 71, 80) : QColor(50, 54, 61),
                   over ? QColor(42, 45, 51) : QColor(31, 33, 38),
                   over ? kAccent : QColor(72, 77, 86));
    return button;
}

QImage CloseButton(const QImage& dialog, bool over) {
    QImage button = Crop(dialog, QRect(302, 5, 19, 19));
    QPainter p(&button);
    if (over)
        RoundedBox(p, QRectF(0, 0, 19, 19), 4, QColor(226, 78, 78), QColor(170, 40, 40),
                   QColor(240, 130, 130));
    else
        RoundedBox(p, QRectF(0, 0, 19, 19), 4, kRaised, kRaisedLow, QColor(62, 66, 74));
    CloseCross(p, QRectF(6, 6, 7, 7), over ? QColor(Qt::white) : kText);
    return button;
}

QImage BrowseButton(const QImage& dialog) {
    QImage button = Crop(dialog, QRect(265, 79, 61, 26));
    QPainter p(&button);
    RoundedBox(p, QRectF(0, 0, 61, 26), 4, QColor(50, 54, 61), QColor(31, 33, 38),
               QColor(72, 77, 86));
    // A folder.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath folder;
    folder.moveTo(22, 8);
    folder.lineTo(27, 8);
    folder.lineTo(29, 10);
    folder.lineTo(39, 10);
    folder.lineTo(39, 19);
    folder.lineTo(22, 19);
    folder.closeSubpath();
    p.setPen(QPen(kAccent, 1.2));
    p.setBrush(QColor(6, 70, 98));
    p.drawPath(folder);
    return button;
}

} // namespace

void PaintKeymapDialog(SkinWriter& out) {
    const QImage dialog = DialogFrame(kKeymapDialogSize, kRadius, kTitleHeight);
    out.write(kKeymapFolder, u"Custom_BK.png", dialog);
    out.write(kMainFolder, kKeymapShapeImage, DialogShape(kKeymapDialogSize, kRadius));

    const QImage sub = SubPanel(dialog);
    out.write(kKeymapFolder, u"MAIN_SUB_BK.png", sub);
    QImage page = dialog;
    {
        QPainter p(&page);
        p.drawImage(kSubPanelAt, sub);
    }

    out.write(kKeymapFolder, u"button-close-normal.png", CloseButton(page, false));
    out.write(kKeymapFolder, u"button-close-over.png", CloseButton(page, true));

    QImage tab = Crop(page, QRect(0, 28, 95, 28));
    {
        QPainter p(&tab);
        RoundedBox(p, QRectF(0, 0, 95, 28), 4, QColor(44, 48, 55), QColor(27, 29, 34), kPanelEdge);
    }
    out.write(kKeymapFolder, u"large_button.png", tab);
    QImage rule = Crop(page, QRect(0, 30, 326, 7));
    {
        QPainter p(&rule);
        FadingLine(p, 0, 326, 3, kAccentDark);
    }
    out.write(kKeymapFolder, u"single_combine_option.png", rule);

    const QImage off = CheckBox(page, false);
    const QImage on = CheckBox(page, true);
    out.write(kKeymapFolder, u"Disable.png", off);
    out.write(kKeymapFolder, u"disable.png", off);
    out.write(kKeymapFolder, u"Enable.png", on);
    out.write(kKeymapFolder, u"enable.png", on);

    out.write(kKeymapFolder, u"button-cancel-normal.png",
              FooterButton(page, {156, 246}, false, false));
    out.write(kKeymapFolder, u"button-cancel-over.png",
              FooterButton(page, {156, 246}, false, true));
    out.write(kKeymapFolder, u"button-save-normal.png",
              FooterButton(page, {264, 246}, true, false));
    out.write(kKeymapFolder, u"button-save-over.png", FooterButton(page, {264, 246}, true, true));

    out.write(kKeymapFolder, u"Edit_BK.png", Field(page, QRect(15, 82, 297, 17)));
    out.write(kKeymapFolder, u"Macro_Edit_BK.png", Field(page, QRect(15, 66, 297, 163)));
    out.write(kKeymapFolder, u"Advanced.png", Field(page, QRect(83, 79, 163, 18)));
    out.write(kKeymapFolder, u"view.png", BrowseButton(page));
}

} // namespace orvo::skin
