#pragma once
// Loads the skin's PNG images from one folder. Every painted window asks it for its images
// at each paint; with caching on, a decoded image is kept until its file changes, which
// gives the same pixels as decoding the file again.

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

namespace orvo {

class ImageStore {
public:
    // folder ends with '/'; image names are appended to it unchanged.
    explicit ImageStore(QString folder);

    const QString& folder() const { return m_folder; }
    QString path(const QString& name) const { return m_folder + name; }

    // The image as decoded; a missing or broken file gives a null image.
    QImage image(const QString& name) const;
    // The image as it is copied onto a canvas: opaque RGB32 with every transparent pixel
    // black (the premultiplied value), so copies never blend with what lies below.
    QImage loadForCopy(const QString& name) const;

    void setCaching(bool on);
    bool caching() const { return m_caching; }
    // Takes an image decoded ahead of time (on another thread) into the cache, as if
    // image(name) had decoded it now. Ignored while caching is off.
    void adopt(const QString& name, const QImage& decoded, const QImage& opaque) const;

private:
    struct Entry {
        QImage decoded;
        QImage opaque;
        QDateTime modified;
        qint64 size = -1;
    };
    Entry entry(const QString& name) const;

    QString m_folder;
    bool m_caching = false;
    mutable QHash<QString, Entry> m_cache;
};

// Converts any image into the opaque form of ImageStore::loadForCopy.
QImage OpaqueImage(const QImage& image);

// The skin's pictures are PNG files by name. Reading them as PNG outright keeps Qt from
// loading every image-format plugin to ask whether it knows the file better (a millisecond
// and a half at start-up). Null or invalid on a missing or broken file.
QImage DecodePng(const QString& path);
QSize PngSize(const QString& path);

} // namespace orvo
