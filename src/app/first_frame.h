#pragma once
// The main window's start-up picture from the last start, shown as the very first frame while
// nothing it was made from has changed; the window composes its picture afresh once it is on
// screen. What it depends on makes up its key: the program and the Qt it runs on, the skin's
// pictures (name, size, time of change), the font caches, the image, the customised keys and
// the sliders' places. The window's own state needs no part in it: at start-up it is always the
// fresh one.

#include "model/atomic_file.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvo {

struct ConfigState;

using FirstFrameKey = std::vector<std::uint8_t>;

// `imageFolder` ends with '/'; `program` is the running program's file.
FirstFrameKey MakeFirstFrameKey(const ConfigState& config, const QString& imageFolder,
                                const QString& program);
// The kept picture made from `key`; null when there is none.
QImage CachedFirstFrame(const std::filesystem::path& file, const FirstFrameKey& key);
// Keeps `picture` (converted to opaque RGB32, the canvas's own format) under `key`.
FileResult KeepFirstFrame(const std::filesystem::path& file, const FirstFrameKey& key,
                          const QImage& picture);

} // namespace orvo
