#include "model/first_frame_file.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct FirstFrameFileTest : ::testing::Test {
    fs::path dir;
    fs::path file;
    // A picture of 3 x 2 pixels with 4 bytes of padding per line, and the key it was made from.
    FrameSize size{3, 2, 16};
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> key{'s', 'k', 'i', 'n', 0, 7, 255};

    void SetUp() override {
        dir = FreshTestFolder("orvo_first_frame");
        file = dir / "first_frame.raw";
        for (std::size_t i = 0; i < 32; ++i)
            pixels.push_back(static_cast<std::uint8_t>(i * 7 + 1));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::uint8_t> Bytes() const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(FirstFrameFileTest, APictureComesBackWholeOnlyUnderTheKeyItWasKeptWith) {
    ASSERT_TRUE(SaveFirstFrame(file, key, size, pixels));
    std::optional<KeptFrame> kept = LoadFirstFrame(file, key);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->size.width, 3u);
    EXPECT_EQ(kept->size.height, 2u);
    EXPECT_EQ(kept->size.bytesPerLine, 16u);
    EXPECT_EQ(std::vector<std::uint8_t>(kept->pixels(), kept->pixels() + pixels.size()), pixels);
    // The pixels can be used in place as a picture's lines.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(kept->pixels()) % 4, 0u);
    // Keeping a new picture replaces the file; the one in use keeps its pixels.
    std::vector<std::uint8_t> newer = pixels;
    newer[0] ^= 0xFF;
    ASSERT_TRUE(SaveFirstFrame(file, key, size, newer));
    EXPECT_EQ(std::vector<std::uint8_t>(kept->pixels(), kept->pixels() + pixels.size()), pixels);
    ASSERT_TRUE(SaveFirstFrame(file, key, size, pixels));

    std::vector<std::uint8_t> other = key;
    other.back() ^= 1;
    EXPECT_FALSE(LoadFirstFrame(file, other)) << "a key that differs in one bit";
    other = key;
    other.pop_back();
    EXPECT_FALSE(LoadFirstFrame(file, other)) << "a key that is a prefix";
    other = key;
    other.push_back(0);
    EXPECT_FALSE(LoadFirstFrame(file, other)) << "a key that is longer";
}

TEST_F(FirstFrameFileTest, DamagedShortForeignOrOddFilesAreNotTaken) {
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "no file";
    EXPECT_FALSE(SaveFirstFrame(file, key, size, std::span(pixels).first(31)))
        << "fewer pixel bytes than the size says";
    EXPECT_FALSE(SaveFirstFrame(file, key, FrameSize{5, 2, 16}, pixels))
        << "lines shorter than their pixels";

    ASSERT_TRUE(SaveFirstFrame(file, key, size, pixels));
    const std::vector<std::uint8_t> good = Bytes();
    std::vector<std::uint8_t> bytes = good;
    bytes.pop_back();
    Write(bytes);
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "cut by one byte";
    bytes = good;
    bytes.push_back(0);
    Write(bytes);
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "one byte too many";
    bytes = good;
    bytes[0] = 'X';
    Write(bytes);
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "another magic";
    bytes = good;
    bytes[13] = 0x40; // height 0x40000002: far beyond the file
    Write(bytes);
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "a height the file cannot hold";
    Write(std::vector<std::uint8_t>(good.begin(), good.begin() + 10));
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "shorter than the header";
    Write({});
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "empty";

    // A FIFO in its place is never opened for reading, so the start cannot hang on it.
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_FALSE(LoadFirstFrame(file, key));
    fs::remove(file);
    fs::create_directory(file);
    EXPECT_FALSE(LoadFirstFrame(file, key)) << "a folder";
}

} // namespace
} // namespace orvo
