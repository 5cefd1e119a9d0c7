// The profile manager ("png/Config/").

#include "controls/qt_convert.h"
#include "model/profile_dialog_layout.h"
#include "tools/skin_generator/skin_painter.h"

namespace orvo::skin {

namespace {

constexpr int kTitleHeight = 30;
constexpr QRect kList{kProfileListAt.x, kProfileListAt.y, kProfileListWidth, kProfileListHeight};
constexpr QSize kCloseButtonSize{15, 14};

} // namespace

void PaintProfileDialog(SkinWriter& out) {
    // A plain dialog window: square corners.
    QImage dialog = DialogFrame(kProfileDialogSize, 0, kTitleHeight);
    {
        QPainter p(&dialog);
        DrawEmblem(p, QPointF(16, 15), 8);
        p.setFont(SkinFont(14, true));
        p.setPen(kText);
        p.drawText(QPointF(30, 20), QStringLiteral("Perfil"));
        p.fillRect(kList, Qt::black);
        // Light pills behind the dialog's dark "+Nuevo" and "-Borrar" texts.
        for (const ProfileDialogText& text : {kNewProfileText, kDeleteProfileText})
            RoundedBox(p, ToQRect(text.pill), 4, QColor(228, 231, 236), QColor(184, 189, 197),
                       QColor(150, 156, 165));
    }
    out.write(kProfileFolder, u"Profile_BK.png", dialog);

    QImage close = Crop(dialog, QRect(ToQPoint(kProfileCloseButton.at), kCloseButtonSize));
    {
        QPainter p(&close);
        RoundedBox(p, QRectF(0, 0, 15, 14), 3, kRaised, kRaisedLow, QColor(62, 66, 74));
        CloseCross(p, QRectF(4.5, 4, 6, 6), kText);
    }
    out.write(kProfileFolder, u"button-close-normal.png", close);
}

} // namespace orvo::skin
