#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "model/colour_palette.h"
#include "model/window_layout.h"
#include "tools/skin_generator/skin_catalogue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvo {
namespace {

using skin::kSkinCatalogue;

QString SkinFolder() {
    return qEnvironmentVariable("ORVO_BIN_DIR") + QStringLiteral("/png/");
}

QImage Load(QStringView folder, QStringView name) {
    return QImage(SkinFolder() + folder.toString() + name.toString(), "PNG");
}

QRgb ToQRgb(unsigned value) {
    return qRgb(static_cast<int>(value >> 16 & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                static_cast<int>(value & 0xFF));
}

TEST(SkinTest, EveryPictureExistsAtItsSize) {
    for (const skin::SkinImage& entry : kSkinCatalogue) {
        const QImage image = Load(entry.folder, entry.name);
        const std::string name = (entry.folder.toString() + entry.name.toString()).toStdString();
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(entry.width, entry.height)) << name;
        // Opaque pictures: drawing without blending shows exactly what was painted.
        EXPECT_FALSE(image.hasAlphaChannel()) << name;
    }
}

TEST(SkinTest, ThePicturesFitTheirPlaces) {
    const QImage main = Load(skin::kMainFolder, u"main.png");
    const QImage keyboard = Load(skin::kMainFolder, u"kb_BK.png");
    // The keyboard picture lies inside the window and holds every key.
    EXPECT_TRUE(
        main.rect().contains(QRect(QPoint(kKeyboardOrigin.x, kKeyboardOrigin.y), keyboard.size())));
    for (std::size_t key = 0; key < kKeyCount; ++key)
        for (const InclusiveRect& part : KeyParts(key))
            EXPECT_TRUE(keyboard.rect().contains(
                QRect(QPoint(part.left, part.top), QPoint(part.right, part.bottom))))
                << "key " << key;
    // The window contains every region.
    for (const RegionPlace& place : MainRegionTable) {
        const InclusiveRect& region = place.hit;
        EXPECT_TRUE(main.rect().contains(QPoint(region.right, region.bottom)));
    }
}

// Every picture the window's layout names is a picture of the skin, and fits the window where
// the layout draws it.
TEST(SkinTest, TheLayoutsPicturesAreInTheSkin) {
    const QImage main = Load(skin::kMainFolder, ToQString(kBackgroundPicture.name));
    std::vector<PlacedPicture> placed(kLogoPictures.begin(), kLogoPictures.end());
    placed.insert(placed.end(), {kKeyboardPicture,
                                 {kKeyHighlightPicture, kKeyboardOrigin},
                                 kLeftPanelPicture,
                                 kResponseTimeScale,
                                 kReportRateScale,
                                 kHelpMenuPicture});
    std::vector<RegionPlace> regions(MainRegionTable.begin(), MainRegionTable.end());
    regions.push_back(kKeymapSwitchPlace);
    regions.push_back(kDiySwitchPlace);
    for (const RegionPlace& region : regions) {
        for (std::u16string_view name : {region.picture, region.altPicture})
            if (!name.empty())
                placed.push_back({name, region.drawAt});
    }
    for (const PlacedPicture& picture : placed) {
        const QString name = ToQString(picture.name);
        const QImage image = Load(skin::kMainFolder, name);
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_TRUE(main.rect().contains(QRect(ToQPoint(picture.at), image.size())))
            << name.toStdString();
    }
}

TEST(SkinTest, HighlightedKeysLightUpOnlyTheKeys) {
    const QImage plain = Load(skin::kMainFolder, u"kb_BK.png");
    const QImage lit = Load(skin::kMainFolder, u"kb_hl.png");
    ASSERT_EQ(plain.size(), lit.size());
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        for (const InclusiveRect& part : KeyParts(key)) {
            // Just inside the key's left edge, halfway down: the cap, not the legend.
            const QPoint inside(part.left + 2, (part.top + part.bottom) / 2);
            EXPECT_NE(plain.pixel(inside), lit.pixel(inside)) << "key " << key;
            EXPECT_GT(qBlue(lit.pixel(inside)), qBlue(plain.pixel(inside))) << "key " << key;
        }
    }
    // Between the keys (in the case, left of Esc) both pictures agree.
    EXPECT_EQ(plain.pixel(70, 110), lit.pixel(70, 110));
    EXPECT_EQ(plain.pixel(5, 5), lit.pixel(5, 5));
}

TEST(SkinTest, TracksCarryTheirColours) {
    const struct {
        QStringView name;
        unsigned colour;
    } rows[] = {{kTrackEmptyImage, kTrackEmptyColour}, {kTrackFilledImage, kTrackFilledColour}};
    for (const auto& row : rows) {
        const QImage track = Load(skin::kMainFolder, row.name);
        for (int x : {0, 110, 220})
            EXPECT_EQ(track.pixel(x, 7), ToQRgb(row.colour)) << row.name.toString().toStdString();
    }
}

TEST(SkinTest, PaletteCellsAreDrawnWhereTheDialogHitsThem) {
    const QImage background = Load(skin::kMainFolder, u"Color_BK.png");
    // Rows 6 and 7 lie under the swatch and the number fields.
    for (int cell = 0; cell < 6 * kPaletteColumns; ++cell) {
        const Rgb& c = kPaletteColours[static_cast<std::size_t>(cell)];
        const QPoint corner(PaletteCellLeft(cell), PaletteCellTop(cell));
        for (const QPoint& offset : {QPoint(0, 0), QPoint(11, 10), QPoint(6, 5)})
            EXPECT_EQ(background.pixel(corner + offset), qRgb(c.r, c.g, c.b)) << "cell " << cell;
    }
}

TEST(SkinTest, ShapesCutOnlyTheCorners) {
    for (QStringView name : {kKeymapShapeImage, kMacroShapeImage}) {
        const QImage shape = Load(skin::kMainFolder, name);
        const QRect all = shape.rect();
        for (const QPoint& corner :
             {all.topLeft(), all.topRight(), all.bottomLeft(), all.bottomRight()})
            EXPECT_EQ(shape.pixel(corner), qRgb(255, 255, 255));
        EXPECT_EQ(shape.pixel(all.center()), qRgb(0, 0, 0));
        EXPECT_EQ(shape.pixel(all.width() / 2, 0), qRgb(0, 0, 0));
    }
}

TEST(SkinTest, GeneratingAgainGivesTheSameBytes) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(ORVO_SKIN_GENERATOR), {out.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    int files = 0;
    QDirIterator it(out.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString fresh = it.next();
        const QString relative = QDir(out.path()).relativeFilePath(fresh);
        QFile a(fresh);
        QFile b(SkinFolder() + relative);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly))
            << relative.toStdString();
        EXPECT_EQ(a.readAll(), b.readAll()) << relative.toStdString();
        ++files;
    }
    EXPECT_EQ(files, static_cast<int>(kSkinCatalogue.size()));
}

} // namespace
} // namespace orvo
