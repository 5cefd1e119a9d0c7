#include "app/skin_prefetch.h"

#include "app/draw_label.h"
#include "controls/image_store.h"

#include <QImageReader>
#include <QPainter>

namespace orvo {

SkinPrefetch::SkinPrefetch(QString folder) : m_folder(std::move(folder)) {
    m_decoder = std::thread([this] {
        for (QStringView name : kFirstFrameImages) {
            QImageReader reader(m_folder + name.toString(), "png");
            QImage decoded = reader.read();
            if (decoded.isNull())
                continue;
            QImage opaque = OpaqueImage(decoded);
            m_images.insert(name.toString(), Decoded{std::move(decoded), std::move(opaque)});
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
    join();
    if (store.folder() != m_folder)
        return;
    for (auto it = m_images.cbegin(); it != m_images.cend(); ++it)
        store.adopt(it.key(), it->decoded, it->opaque);
    m_images.clear();
}

} // namespace orvo
