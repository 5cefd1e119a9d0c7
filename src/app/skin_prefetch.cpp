#include "app/skin_prefetch.h"

#include "controls/draw_label.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "controls/skin_resources.h"
#include "model/window_layout.h"

#include <QImageReader>
#include <QPainter>

namespace orvo {

QStringList WindowPictures() {
    QStringList names;
    for (QStringView name : {kThumbStripImage, kTrackEmptyImage, kTrackFilledImage, kAppIconImage})
        names.append(name.toString());
    return names;
}

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
    add(kThumbImage.toString());
    for (const QString& name : WindowPictures())
        add(name);
    return names;
}

SkinPrefetch::SkinPrefetch(QString folder) : m_folder(std::move(folder)) {
    m_windowDecoder = std::thread([this] { decode(WindowPictures(), m_windowPictures); });
}

SkinPrefetch::~SkinPrefetch() {
    join();
}

void SkinPrefetch::decode(const QStringList& names, Pictures& into) const {
    for (const QString& name : names) {
        QImageReader reader(m_folder + name, "png");
        QImage decoded = reader.read();
        if (decoded.isNull())
            continue;
        QImage opaque = OpaqueImage(decoded);
        into.insert(name, Decoded{std::move(decoded), std::move(opaque)});
    }
}

void SkinPrefetch::start() {
    if (m_started)
        return;
    m_started = true;
    m_decoder = std::thread([this] {
        QStringList names = FirstFramePictures();
        for (const QString& done : WindowPictures())
            names.removeAll(done);
        decode(names, m_pictures);
    });
    // The font database loads on the first text drawn; QFontDatabase is thread-safe.
    m_fonts = std::thread([] {
        QImage scratch(16, 16, QImage::Format_RGB32);
        QPainter painter(&scratch);
        DrawLabel(painter, QStringLiteral("Perfil"), 0, 0, 9);
    });
}

void SkinPrefetch::join() {
    for (std::thread* worker : {&m_windowDecoder, &m_decoder, &m_fonts}) {
        if (worker->joinable())
            worker->join();
    }
}

void SkinPrefetch::deliver(Pictures& pictures, const ImageStore& store) const {
    if (store.folder() == m_folder) {
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            store.adopt(it.key(), it->decoded, it->opaque);
    }
    pictures.clear();
}

void SkinPrefetch::deliverWindowPicturesTo(const ImageStore& store) {
    if (m_windowDecoder.joinable())
        m_windowDecoder.join();
    deliver(m_windowPictures, store);
}

void SkinPrefetch::deliverTo(const ImageStore& store) {
    start();
    join();
    deliver(m_windowPictures, store);
    deliver(m_pictures, store);
}

} // namespace orvo
