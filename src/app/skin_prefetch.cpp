#include "app/skin_prefetch.h"

#include "controls/draw_label.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "model/window_layout.h"

#include <QPainter>

namespace orvo {

QStringList FirstFramePictures() {
    QStringList names;
    const auto add = [&](const QString& name) {
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    };
    for (const PlacedPicture& picture : {kBackgroundPicture,
                                         kKeyboardPicture,
                                         {kKeyHighlightPicture, {}},
                                         kLeftPanelPicture,
                                         kLogoPictures[0],
                                         kLogoPictures[1]})
        add(ToQString(picture.name));
    for (const RegionPlace& region : MainRegionTable) {
        add(ToQString(region.picture));
        add(ToQString(region.altPicture));
    }
    for (const PlacedPicture& picture : {kHelpMenuPicture, kResponseTimeScale, kReportRateScale})
        add(ToQString(picture.name));
    for (QStringView name :
         {kThumbImage, kTrackEmptyImage, kTrackFilledImage, kThumbStripImage, kAppIconImage})
        add(name.toString());
    return names;
}

SkinPrefetch::SkinPrefetch(QString folder) : m_folder(std::move(folder)) {}

void SkinPrefetch::start() {
    if (m_started)
        return;
    m_started = true;
    m_decoder = std::thread([this] {
        for (const QString& name : FirstFramePictures()) {
            QImage decoded = DecodePng(m_folder + name);
            if (decoded.isNull())
                continue;
            QImage opaque = OpaqueImage(decoded);
            m_images.insert(name, Decoded{std::move(decoded), std::move(opaque)});
        }
    });
    // The font database loads on the first text drawn; QFontDatabase is thread-safe.
    m_fonts = std::thread([] {
        QImage scratch(16, 16, QImage::Format_RGB32);
        QPainter painter(&scratch);
        DrawLabel(painter, QStringLiteral("Perfil"), 0, 0, 9);
    });
}

SkinPrefetch::~SkinPrefetch() {
    join();
}

void SkinPrefetch::join() {
    if (m_decoder.joinable())
        m_decoder.join();
    if (m_fonts.joinable())
        m_fonts.join();
}

void SkinPrefetch::deliverTo(const ImageStore& store) {
    start();
    join();
    if (store.folder() != m_folder)
        return;
    for (auto it = m_images.cbegin(); it != m_images.cend(); ++it)
        store.adopt(it.key(), it->decoded, it->opaque);
    m_images.clear();
}

} // namespace orvo
