#include "model/first_frame_file.h"

#include "model/byte_order.h"

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
    const FrameSize size{ReadLe32(in, 8), ReadLe32(in, 12), ReadLe32(in, 16)};
    const std::uint32_t keySize = ReadLe32(in, 20);
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
    const std::size_t pixelOffset = PixelOffset(key.size());
    std::vector<std::uint8_t> out(pixelOffset + pixels.size(), 0);
    std::ranges::copy(kMagic, out.begin());
    WriteLe32(out, 8, size.width);
    WriteLe32(out, 12, size.height);
    WriteLe32(out, 16, size.bytesPerLine);
    WriteLe32(out, 20, static_cast<std::uint32_t>(key.size()));
    std::ranges::copy(key, out.begin() + kHeaderSize);
    std::ranges::copy(pixels, out.begin() + static_cast<std::ptrdiff_t>(pixelOffset));
    // What a write killed half way left.
    SweepStaleTemporaries(file);
    return WriteFileAtomically(file, out);
}

} // namespace orvo
