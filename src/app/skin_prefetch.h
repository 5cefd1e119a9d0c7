#pragma once
// Prepares the first frame on worker threads while the window sets itself up: decodes the
// main window's skin pictures, and loads the font database by drawing one label. The
// pictures go into the window's ImageStore, which keeps them exactly as it would have
// decoded them itself.

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringView>

#include <array>
#include <thread>

namespace orvo {

class ImageStore;

// The pictures of the main window's first frame, largest first.
inline constexpr std::array<QStringView, 37> kFirstFrameImages{
    u"main.png",
    u"kb_BK.png",
    u"kb_hl.png",
    u"Left_BK.png",
    u"logo.png",
    u"logo1.png",
    u"button-help-normal.png",
    u"button-help-over.png",
    u"button-min-normal.png",
    u"button-min-over.png",
    u"button-close-normal.png",
    u"button-close-over.png",
    u"button-default-normal.png",
    u"button-cancel-normal.png",
    u"button-save-normal.png",
    u"Config.png",
    u"MacroButton3.png",
    u"HelpWindow.png",
    u"Light_Item.png",
    u"8.png",
    u"Enable.png",
    u"Disable.png",
    u"Direction-L-Enable.png",
    u"Direction-R-Enable.png",
    u"Direction-T-Enable.png",
    u"Direction-B-Enable.png",
    u"Direction-L-Disable.png",
    u"Direction-R-Disable.png",
    u"Direction-T-Disable.png",
    u"Direction-B-Disable.png",
    u"responsetime_txt.png",
    u"reportRate_txt.png",
    u"Thumb.png",
    u"track_empty.png",
    u"track_filled.png",
    u"thumb_strip.png",
    u"app_icon.png",
};

class SkinPrefetch {
public:
    // Starts the work; `folder` is the image folder (ends with '/'). Needs the application
    // object to exist already.
    explicit SkinPrefetch(QString folder);
    ~SkinPrefetch();
    SkinPrefetch(const SkinPrefetch&) = delete;
    SkinPrefetch& operator=(const SkinPrefetch&) = delete;

    // Waits for the work and hands the pictures to `store` when it reads the same folder.
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
};

} // namespace orvo
