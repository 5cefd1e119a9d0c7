#pragma once
// Prepares the main window's pictures and fonts on worker threads while the program sets
// itself up. At once: the few pictures the window itself decodes when it is made (its
// sliders' and its icon), which also brings in Qt's image readers. When started: every other
// picture of the window's first composition, and the font database by drawing one label. The
// pictures go into the window's ImageStore, which keeps them exactly as it would have decoded
// them itself.

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <thread>

namespace orvo {

class ImageStore;

// The pictures the main window decodes when it is made: the sliders' and the program icon.
QStringList WindowPictures();
// The pictures of the main window's first frame: the big ones of its layout first, then
// every picture its regions name and the window's own; each once.
QStringList FirstFramePictures();

class SkinPrefetch {
public:
    // `folder` is the image folder (ends with '/'). Needs the application object to exist
    // already. Starts decoding the window's own pictures.
    explicit SkinPrefetch(QString folder);
    ~SkinPrefetch();
    SkinPrefetch(const SkinPrefetch&) = delete;
    SkinPrefetch& operator=(const SkinPrefetch&) = delete;

    // Waits for the window's own pictures and hands them to `store` (before the window is
    // made).
    void deliverWindowPicturesTo(const ImageStore& store);
    // Starts the rest of the work on its threads (once).
    void start();
    // Waits for all of the work (started now if it was not) and hands the pictures to `store`.
    void deliverTo(const ImageStore& store);

private:
    struct Decoded {
        QImage decoded;
        QImage opaque;
    };
    using Pictures = QHash<QString, Decoded>;
    void decode(const QStringList& names, Pictures& into) const;
    void deliver(Pictures& pictures, const ImageStore& store) const;
    void join();

    QString m_folder;
    Pictures m_windowPictures;
    Pictures m_pictures;
    std::thread m_windowDecoder;
    std::thread m_decoder;
    std::thread m_fonts;
    bool m_started = false;
};

} // namespace orvo
