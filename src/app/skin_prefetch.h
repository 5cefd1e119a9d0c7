#pragma once
// Prepares the window's first composition on worker threads while the window sets itself up:
// decodes the main window's skin pictures, and loads the font database by drawing one label.
// The pictures go into the window's ImageStore, which keeps them exactly as it would have
// decoded them itself.

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <thread>

namespace orvo {

class ImageStore;

// The pictures of the main window's first frame: the big ones of its layout first, then
// every picture its regions name, the slider pictures and the program icon; each once.
QStringList FirstFramePictures();

class SkinPrefetch {
public:
    // `folder` is the image folder (ends with '/'). Needs the application object to exist
    // already.
    explicit SkinPrefetch(QString folder);
    ~SkinPrefetch();
    SkinPrefetch(const SkinPrefetch&) = delete;
    SkinPrefetch& operator=(const SkinPrefetch&) = delete;

    // Starts the work on its threads (once).
    void start();
    // Waits for the work (started now if it was not) and hands the pictures to `store` when
    // it reads the same folder.
    void deliverTo(const ImageStore& store);

private:
    struct Decoded {
        QImage decoded;
        QImage opaque;
    };
    void join();

    QString m_folder;
    QHash<QString, Decoded> m_images;
    std::thread m_decoder;
    std::thread m_fonts;
    bool m_started = false;
};

} // namespace orvo
