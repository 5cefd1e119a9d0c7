#include "model/first_frame_file.h"

#include <algorithm>

namespace orvo {

namespace {

constexpr std::string_view kMagic = "ORVOFRM1";
constexpr std::size_t kHeaderSize = kMagic.size() + 16;
constexpr std::size_t kPixelAlignment = 16;
// Larger pictures and keys are none of ours (the main window is 1000 x 640).
constexpr std::size_t kMaxPixelBytes = 64u << 20;
constexpr std::size_t kMaxKeyBytes = 1u << 20;

std::size_t PixelOffset(std::size_t keySize) {
    const std::size_t end = kHeaderSize + keySize;
    return (end + kPixelAlignment - 1) / kPixelAlignment * kPixelAlignment;
}

bool Plausible(FrameSize size, std::size_t keySize) {
    const std::uint64_t pixelBytes = std::uint64_t{size.height} * size.bytesPerLine;
    return size.width > 0 && size.height > 0 && size.bytesPerLine / 4 >= size.width &&
           pixelBytes <= kMaxPixelBytes && keySize <= kMaxKeyBytes;
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t Le32(std::span<const std::uint8_t> in, std::size_t at) {
    return std::uint32_t{in[at]} | std::uint32_t{in[at + 1]} << 8 |
           std::uint32_t{in[at + 2]} << 16 | std::uint32_t{in[at + 3]} << 24;
}

} // namespace

std::optional<KeptFrame> LoadFirstFrame(const std::filesystem::path& file,
                                        std::span<const std::uint8_t> key) {
    const std::size_t most = PixelOffset(key.size()) + kMaxPixelBytes;
    std::optional<MappedFile> mapped = MapRegularFile(file, most);
    if (!mapped)
        return std::nullopt;
    const std::span<const std::uint8_t> in = mapped->bytes();
    if (in.size() < kHeaderSize || !std::ranges::equal(in.first(kMagic.size()), kMagic))
        return std::nullopt;
    const FrameSize size{Le32(in, 8), Le32(in, 12), Le32(in, 16)};
    const std::uint32_t keySize = Le32(in, 20);
    if (keySize != key.size() || !Plausible(size, keySize) ||
        in.size() != PixelOffset(keySize) + std::size_t{size.height} * size.bytesPerLine ||
        !std::ranges::equal(in.subspan(kHeaderSize, keySize), key))
        return std::nullopt;
    return KeptFrame{size, std::move(*mapped), PixelOffset(keySize)};
}

FileResult SaveFirstFrame(const std::filesystem::path& file, std::span<const std::uint8_t> key,
                          FrameSize size, std::span<const std::uint8_t> pixels) {
    if (!Plausible(size, key.size()) ||
        pixels.size() != std::size_t{size.height} * size.bytesPerLine)
        return {false, "first frame: not a picture to keep"};
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    out.reserve(PixelOffset(key.size()) + pixels.size());
    PutLe32(out, size.width);
    PutLe32(out, size.height);
    PutLe32(out, size.bytesPerLine);
    PutLe32(out, static_cast<std::uint32_t>(key.size()));
    out.insert(out.end(), key.begin(), key.end());
    out.resize(PixelOffset(key.size()), 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    // What a write killed half way left.
    SweepStaleTemporaries(file);
    return WriteFileAtomically(file, out);
}

} // namespace orvo
