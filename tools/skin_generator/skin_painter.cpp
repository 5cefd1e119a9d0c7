#include "tools/skin_generator/skin_painter.h"

#include <QDir>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>
#include <utility>

namespace orvo::skin {

namespace {

QString LoadFamily(const char* file) {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    if (id < 0)
        return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.front();
}

QString Key(QStringView folder, QStringView name) {
    return folder.toString() + name.toString();
}

} // namespace

QFont SkinFont(int pixelSize, bool bold) {
    // Loaded once per run; the same file gives the same glyphs on every build.
    static const QString regular =
        LoadFamily("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    static const QString heavy =
        LoadFamily("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf");
    const QString& family = bold && !heavy.isEmpty() ? heavy : regular;
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage NewImage(QSize size, const QColor& fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QImage Crop(const QImage& from, const QRect& area) {
    QImage part = NewImage(area.size());
    QPainter p(&part);
    p.drawImage(QPoint(0, 0), from, area);
    return part;
}

void RoundedBox(QPainter& p, const QRectF& box, qreal radius, const QColor& top,
                const QColor& bottom, const QColor& edge) {
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(edge.isValid() ? QPen(edge, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void FadingLine(QPainter& p, int x1, int x2, int y, const QColor& colour) {
    QLinearGradient line(x1, 0, x2, 0);
    QColor clear = colour;
    clear.setAlpha(0);
    line.setColorAt(0, clear);
    line.setColorAt(0.2, colour);
    line.setColorAt(0.8, colour);
    line.setColorAt(1, clear);
    p.fillRect(QRect(x1, y, x2 - x1, 1), line);
}

void CentredText(QPainter& p, const QRect& box, const QString& text, const QFont& font,
                 const QColor& colour) {
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

void Stroke(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void DrawEmblem(QPainter& p, QPointF c, qreal r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath badge;
    badge.moveTo(c + QPointF(0, -r));
    badge.lineTo(c + QPointF(r * 0.866, -r / 2));
    badge.lineTo(c + QPointF(r * 0.866, r / 2));
    badge.lineTo(c + QPointF(0, r));
    badge.lineTo(c + QPointF(-r * 0.866, r / 2));
    badge.lineTo(c + QPointF(-r * 0.866, -r / 2));
    badge.closeSubpath();
    QLinearGradient glow(c.x(), c.y() - r, c.x(), c.y() + r);
    glow.setColorAt(0, QColor(6, 80, 110));
    glow.setColorAt(1, QColor(8, 26, 36));
    p.setBrush(glow);
    p.setPen(QPen(kAccent, r > 10 ? 1.5 : 1.0));
    p.drawPath(badge);
    const qreal z = r * 0.4;
    QPainterPath zed;
    zed.moveTo(c + QPointF(-z, -z));
    zed.lineTo(c + QPointF(z, -z));
    zed.lineTo(c + QPointF(-z, z));
    zed.lineTo(c + QPointF(z, z));
    Stroke(p, zed, kText, r > 10 ? 2.2 : 1.3);
    p.restore();
}

QImage DialogFrame(QSize size, int radius, int titleHeight) {
    QImage frame = NewImage(size);
    QPainter p(&frame);
    const QRectF body(QPointF(0, 0), size);
    RoundedBox(p, body, radius, QColor(25, 27, 32), QColor(13, 14, 17), QColor(58, 62, 70));
    QLinearGradient title(0, 1, 0, titleHeight);
    title.setColorAt(0, QColor(38, 41, 48));
    title.setColorAt(1, QColor(22, 24, 28));
    QPainterPath clip;
    clip.addRoundedRect(body.adjusted(1, 1, -1, -1), radius, radius);
    p.setClipPath(clip);
    p.fillRect(QRect(1, 1, size.width() - 2, titleHeight - 1), title);
    p.setClipping(false);
    p.fillRect(QRect(1, titleHeight, size.width() - 2, 1), kPanelEdge);
    FadingLine(p, 8, size.width() - 8, titleHeight, kAccent);
    return frame;
}

QImage DialogShape(QSize size, int radius) {
    QImage shape = NewImage(size, Qt::white);
    QPainter p(&shape);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    // No antialiasing: every pixel is either cut (pure white) or kept.
    p.drawRoundedRect(QRect(QPoint(0, 0), size), radius, radius);
    return shape;
}

void CloseCross(QPainter& p, const QRectF& box, const QColor& colour) {
    QPainterPath cross;
    cross.moveTo(box.topLeft());
    cross.lineTo(box.bottomRight());
    cross.moveTo(box.topRight());
    cross.lineTo(box.bottomLeft());
    Stroke(p, cross, colour, 1.5);
}

SkinWriter::SkinWriter(QString root) : m_root(std::move(root)) {}

void SkinWriter::writeRegion(MainRegion region,
                             const std::function<QImage(QPoint at, bool alt)>& paint) {
    const RegionPlace& place = RegionPlaceOf(region);
    const QPoint at(place.drawAt.x, place.drawAt.y);
    write(kMainFolder, place.picture, paint(at, false));
    write(kMainFolder, place.altPicture, paint(at, true));
}

void SkinWriter::write(QStringView folder, QStringView name, const QImage& image) {
    const QString key = Key(folder, name);
    const SkinImage* entry = nullptr;
    for (const SkinImage& candidate : kSkinCatalogue) {
        if (candidate.folder == folder && candidate.name == name)
            entry = &candidate;
    }
    if (entry == nullptr) {
        std::fprintf(stderr, "skin: %s is not in the catalogue\n", qPrintable(key));
        ++m_errors;
        return;
    }
    if (image.width() != entry->width || image.height() != entry->height) {
        std::fprintf(stderr, "skin: %s is %dx%d, expected %dx%d\n", qPrintable(key), image.width(),
                     image.height(), entry->width, entry->height);
        ++m_errors;
        return;
    }
    const QString dir = m_root + folder.toString();
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "skin: cannot create %s\n", qPrintable(dir));
        ++m_errors;
        return;
    }
    // Opaque pictures: the program copies them without blending anyway.
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    // Written whole or not at all, so an interrupted build leaves no torn picture.
    const QString target = dir + name.toString();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || !opaque.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "skin: cannot write %s\n", qPrintable(target));
        ++m_errors;
        return;
    }
    m_written.insert(key);
}

bool SkinWriter::finish() const {
    int missing = 0;
    for (const SkinImage& entry : kSkinCatalogue) {
        if (m_written.count(Key(entry.folder, entry.name)) == 0) {
            std::fprintf(stderr, "skin: %s was not drawn\n",
                         qPrintable(Key(entry.folder, entry.name)));
            ++missing;
        }
    }
    return m_errors == 0 && missing == 0;
}

} // namespace orvo::skin
