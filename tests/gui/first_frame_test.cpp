// The start-up picture kept from the last start: shown first while nothing it was made from
// changed, and then exactly what composing would have shown.

#include "main_window_fixture.h"

#include "model/config_files.h"
#include "model/first_frame_file.h"
#include "model/settings_image.h"

#include <fstream>

namespace orvo::test {
namespace {

class FirstFrameTest : public MainWindowTest {
protected:
    std::filesystem::path keptFile() const { return data() / kFirstFrameFileName; }

    // Starts afresh, waits until the start-up picture is kept, and ends.
    void startAndKeep() {
        std::filesystem::remove(keptFile());
        start();
        ProcessEventsUntil([&] { return std::filesystem::exists(keptFile()); });
        ASSERT_TRUE(std::filesystem::exists(keptFile()));
        stop();
    }
};

TEST_F(FirstFrameTest, ALaterStartShowsTheKeptPictureWhichIsWhatItWouldHaveComposed) {
    // The first start stores the keyboard's values in "keymap.bin"; from the second on, each
    // start begins from what the last one began from.
    startAndKeep();
    startAndKeep();

    launch();
    ASSERT_TRUE(app().shownKeptFrame());
    const QImage kept = window().composedImage().copy();
    stop();

    // The same start without the kept picture composes its first frame.
    std::filesystem::remove(keptFile());
    launch();
    ASSERT_FALSE(app().shownKeptFrame());
    const QImage composed = window().composedImage().convertToFormat(kept.format());
    EXPECT_EQ(kept.size(), composed.size());
    EXPECT_TRUE(kept == composed) << "the kept picture differs from the composed one";
}

TEST_F(FirstFrameTest, APictureMadeFromAnotherConfigurationIsNotShown) {
    startAndKeep();
    startAndKeep();
    // Another brightness in "keymap.bin": the kept picture shows the old one.
    std::vector<std::uint8_t> keymap = ReadFilePrefix(keymapFile(), 1 << 20).value();
    keymap[field::lightingBrightness.offset] ^= 1;
    std::ofstream(keymapFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(keymap.data()),
               static_cast<std::streamsize>(keymap.size()));
    launch();
    EXPECT_FALSE(app().shownKeptFrame());
    stop();
}

} // namespace
} // namespace orvo::test
