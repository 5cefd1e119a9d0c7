#include "controls/image_store.h"

#include <QFileInfo>
#include <QImageReader>

#include <utility>

namespace orvo {

QImage DecodePng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QSize PngSize(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.size();
}

QImage OpaqueImage(const QImage& image) {
    if (image.isNull())
        return {};
    if (image.format() == QImage::Format_RGB32)
        return image;
    // The premultiplied values themselves are what gets copied (Qt's own conversion to RGB32
    // would undo the premultiplication): a transparent pixel becomes black, a half
    // transparent one half as bright.
    QImage opaque = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    return opaque;
}

ImageStore::ImageStore(QString folder) : m_folder(std::move(folder)) {}

void ImageStore::setCaching(bool on) {
    m_caching = on;
    if (!on)
        m_cache.clear();
}

ImageStore::Entry ImageStore::entry(const QString& name) const {
    const QString file = path(name);
    if (!m_caching) {
        Entry loaded;
        loaded.decoded = DecodePng(file);
        loaded.opaque = OpaqueImage(loaded.decoded);
        return loaded;
    }
    const QFileInfo info(file);
    if (!info.exists()) {
        m_cache.remove(name);
        return {};
    }
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    auto it = m_cache.find(name);
    if (it == m_cache.end() || it->modified != modified || it->size != size) {
        Entry fresh;
        fresh.decoded = DecodePng(file);
        fresh.opaque = OpaqueImage(fresh.decoded);
        fresh.modified = modified;
        fresh.size = size;
        it = m_cache.insert(name, std::move(fresh));
    }
    return *it;
}

void ImageStore::adopt(const QString& name, const QImage& decoded, const QImage& opaque) const {
    const QFileInfo info(path(name));
    if (!m_caching || !info.exists())
        return;
    m_cache.insert(name, Entry{decoded, opaque, info.lastModified(), info.size()});
}

QImage ImageStore::image(const QString& name) const {
    return entry(name).decoded;
}

QImage ImageStore::loadForCopy(const QString& name) const {
    return entry(name).opaque;
}

} // namespace orvo
