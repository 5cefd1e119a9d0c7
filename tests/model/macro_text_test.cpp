// A macro's text form: the macro manager's event list, read back into the same streams.

#include "model/macro_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

std::vector<int> Head(const EventStream& stream, std::size_t n) {
    return {stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(MacroText, AKeyPressedAndReleased300MsLaterReadsAsTheListShowsIt) {
    // A pressed, released 300 ms later: device code 0x04, virtual-key code 0x41, a long event.
    const MacroTextResult r = ParseMacroText("A  dn\n300 ms\nA  up\n");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Head(r.device, 8), (std::vector<int>{0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C, 0, 0}));
    EXPECT_EQ(Head(r.display, 8), (std::vector<int>{0x01, 0x41, 0xFF, 0x41, 0x01, 0x2C, 0, 0}));

    MacroRecord macro;
    macro.deviceEvents = r.device;
    macro.displayEvents = r.display;
    EXPECT_EQ(MacroToText(macro), "A  dn\n300 ms\nA  up\n");
}

TEST(MacroText, DelaysTakeTheShortestFormAndTheFirstEventWaitsOneMillisecond) {
    // 126 ms is a short event, 127 ms a long one with delay bytes 0x00, 0x7F; blank lines,
    // blanks and case do not matter; "#94" is the keypad's Enter (device code 0x58).
    const MacroTextResult r =
        ParseMacroText("50 ms\r\nb   DN\n\n  126 ms\n#94 dn\n127 ms\r\nmslb up");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Head(r.device, 10),
              (std::vector<int>{0x01, 0x05, 0x7E, 0x58, 0xFF, 0xF0, 0x00, 0x7F, 0, 0}));
    EXPECT_EQ(Head(r.display, 8),
              (std::vector<int>{0x01, 0x42, 0x7E, 0x6C, 0xFF, 0xF0, 0x00, 0x7F}));
}

TEST(MacroText, WrongTextIsRefusedWithItsLine) {
    std::string tooLong;
    for (int i = 0; i < 48; ++i)
        tooLong += "A dn\nA up\n"; // 96 events of 2 bytes: 192 > 190
    struct Row {
        std::string text;
        std::size_t line;
    };
    const Row rows[] = {
        {"A dn\nQuux dn\n", 2},
        {"A dn\n0 ms\nA up\n", 2},
        {"A dn\n60001 ms\nA up\n", 2},
        {"A dn\n5 ms\n6 ms\nA up\n", 3},
        {"A dn\nA up\n7 ms\n", 3},
        {"A down\n", 1},
        {"dn\n", 1},
        {"A dn\n\xff dn\n", 2},
        {"A dn\nF13 dn\n", 2},
        {"#16 dn\n", 1}, // a key whose own code the keyboard cannot play
        {tooLong, 96},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 20));
        const MacroTextResult r = ParseMacroText(row.text);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.line, row.line) << r.error;
        EXPECT_EQ(Head(r.device, 2), (std::vector<int>{0, 0})); // nothing half-read is kept
    }
}

} // namespace
} // namespace orvo
