#include "app/first_frame.h"

#include "app/skin_prefetch.h"
#include "model/config_state.h"
#include "model/first_frame_file.h"
#include "model/program_folders.h"
#include "model/slider_fields.h"

#include <filesystem>
#include <system_error>

namespace orvo {

namespace {

void Append(FirstFrameKey& key, std::span<const std::uint8_t> bytes) {
    key.insert(key.end(), bytes.begin(), bytes.end());
}

void Append(FirstFrameKey& key, std::int64_t value) {
    for (int shift = 0; shift < 64; shift += 8)
        key.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> shift));
}

void Append(FirstFrameKey& key, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    Append(key, static_cast<std::int64_t>(utf8.size()));
    Append(key, std::span(reinterpret_cast<const std::uint8_t*>(utf8.constData()),
                          static_cast<std::size_t>(utf8.size())));
}

// A file as its name, size and time of change (-1 when it is missing).
void AppendStamp(FirstFrameKey& key, const QString& file) {
    Append(key, file);
    const std::filesystem::path path = file.toStdString();
    std::error_code sizeError, timeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    const auto changed = std::filesystem::last_write_time(path, timeError);
    Append(key, sizeError ? -1 : static_cast<std::int64_t>(size));
    Append(key, timeError ? -1 : static_cast<std::int64_t>(changed.time_since_epoch().count()));
}

} // namespace

FirstFrameKey MakeFirstFrameKey(const ConfigState& config, const QString& imageFolder,
                                const QString& program) {
    FirstFrameKey key;
    AppendStamp(key, program);
    Append(key, QString::fromLatin1(qVersion()));
    for (const QString& picture : FirstFramePictures())
        AppendStamp(key, imageFolder + picture);
    // The fonts the texts are drawn in: installing or removing one rebuilds fontconfig's
    // caches, which is cheaper to notice than asking which font a text would get.
    AppendStamp(key, QStringLiteral("/var/cache/fontconfig"));
    if (const auto userCache = XdgFolder(EnvironmentValue("XDG_CACHE_HOME"),
                                         FolderEnvironment::FromProcess().home, ".cache"))
        AppendStamp(key, QString::fromStdString((*userCache / "fontconfig").string()));
    Append(key, config.image.bytes);
    Append(key, config.customisedKeys);
    for (const std::optional<int>& place :
         SliderPositionsAfter(config.image, SliderSync::AllFields))
        Append(key, place.value_or(-1));
    return key;
}

QImage CachedFirstFrame(const std::filesystem::path& file, const FirstFrameKey& key) {
    std::optional<KeptFrame> loaded = LoadFirstFrame(file, key);
    if (!loaded)
        return {};
    // The picture reads the file's mapped pages in place (painting on it copies them first);
    // they are unmapped with the last copy of it.
    auto* frame = new KeptFrame(std::move(*loaded));
    return QImage(
        frame->pixels(), static_cast<int>(frame->size.width), static_cast<int>(frame->size.height),
        static_cast<qsizetype>(frame->size.bytesPerLine), QImage::Format_RGB32,
        [](void* kept) { delete static_cast<KeptFrame*>(kept); }, frame);
}

FileResult KeepFirstFrame(const std::filesystem::path& file, const FirstFrameKey& key,
                          const QImage& picture) {
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    const FrameSize size{static_cast<std::uint32_t>(opaque.width()),
                         static_cast<std::uint32_t>(opaque.height()),
                         static_cast<std::uint32_t>(opaque.bytesPerLine())};
    return SaveFirstFrame(
        file, key, size,
        std::span(opaque.constBits(), static_cast<std::size_t>(opaque.sizeInBytes())));
}

} // namespace orvo
