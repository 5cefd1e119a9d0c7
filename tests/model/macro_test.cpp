#include "model/macro_model.h"

#include <gtest/gtest.h>

#include <random>

#include "model/key_tables.h"

namespace orvo {
namespace {

struct Ev {
    std::uint8_t key;
    bool release;
    std::uint16_t delay;
};

MacroRecord MakeMacro(std::initializer_list<Ev> events) {
    MacroRecord m;
    m.setName(u"m");
    for (const Ev& e : events)
        AppendEvent(m.streams(), e.key, e.release, e.delay);
    return m;
}

std::vector<std::u16string> Texts(const MacroRecord& m) {
    std::vector<std::u16string> texts;
    for (const EventLine& l : EventLines(m.displayEvents))
        texts.push_back(l.text);
    return texts;
}

std::vector<std::uint8_t> Head(const EventStream& s, std::size_t n) {
    return {s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n)};
}

// Both streams share their shape; the device stream holds each key's device code; nothing
// follows the end of the stream.
void ExpectWellFormed(const MacroRecord& m) {
    const auto device = Events(m.deviceEvents);
    const auto display = Events(m.displayEvents);
    ASSERT_EQ(device.size(), display.size());
    for (std::size_t i = 0; i < device.size(); ++i) {
        EXPECT_EQ(device[i].offset, display[i].offset);
        EXPECT_EQ(device[i].delay, display[i].delay);
        EXPECT_EQ(device[i].release, display[i].release);
        EXPECT_EQ(device[i].key, DeviceCodeOf(display[i].key));
        EXPECT_GE(device[i].delay, kMinEventDelay);
    }
    for (const EventStream* s : {&m.deviceEvents, &m.displayEvents}) {
        const std::size_t end = EventStreamEnd(*s);
        EXPECT_TRUE(std::all_of(s->begin() + static_cast<std::ptrdiff_t>(end), s->end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
    if (!display.empty()) {
        EXPECT_EQ(display[0].delay, 1);
        EXPECT_EQ(display[0].size, kShortEventSize);
    }
}

TEST(MacroEvents, PressThenReleaseAfter300ms) {
    const MacroRecord m = MakeMacro({{0x41, false, 1}, {0x41, true, 300}});
    EXPECT_EQ(Head(m.deviceEvents, 7),
              (std::vector<std::uint8_t>{1, 0x04, 0xFF, 0x04, 1, 0x2C, 0}));
    EXPECT_EQ(Head(m.displayEvents, 7),
              (std::vector<std::uint8_t>{1, 0x41, 0xFF, 0x41, 1, 0x2C, 0}));
    EXPECT_EQ(Texts(m), (std::vector<std::u16string>{u"A  dn", u"300 ms", u"A  up"}));
    EXPECT_EQ(EventLineCount(m.displayEvents), 3u);
    const auto lines = EventLines(m.displayEvents);
    EXPECT_EQ(lines[0].kind, EventLineKind::Press);
    EXPECT_EQ(lines[1].kind, EventLineKind::Delay);
    EXPECT_EQ(lines[2].kind, EventLineKind::Release);
}

TEST(MacroEvents, EncodingUsesTheShortestForm) {
    struct Row {
        std::uint16_t delay;
        bool release;
        std::vector<std::uint8_t> bytes;
    };
    const Row rows[] = {
        {1, false, {0x01, 0x41}},
        {126, false, {0x7E, 0x41}},
        {126, true, {0xFE, 0x41}},
        {127, false, {0x7F, 0x41, 0x00, 0x7F}},
        {127, true, {0xFF, 0x41, 0x00, 0x7F}},
        {60000, false, {0x7F, 0x41, 0xEA, 0x60}},
        {65535, false, {0x7F, 0x41, 0xEA, 0x60}}, // never above a minute
        {0, false, {0x01, 0x41}},                 // never below 1 ms
    };
    for (const Row& r : rows) {
        const EncodedEvent e = EncodeEvent(0x41, r.release, r.delay);
        EXPECT_EQ(std::vector<std::uint8_t>(e.bytes.begin(), e.bytes.begin() + e.size), r.bytes)
            << r.delay;
    }
}

TEST(MacroEvents, DelayLinesAndLineCountAgree) {
    // A 0 ms delay read from a file shows no "0 ms" line, so lines and counting agree; the
    // first event never shows its delay.
    MacroRecord m;
    m.displayEvents = {0x05, 0x41, 0x00, 0x42, 0x01, 0x43, 0x02, 0x44, 0x7F, 0x45, 0x00, 0x01, 0};
    EXPECT_EQ(Texts(m), (std::vector<std::u16string>{u"A  dn", u"B  dn", u"C  dn", u"2 ms",
                                                     u"D  dn", u"E  dn"}));
    EXPECT_EQ(EventLineCount(m.displayEvents), Texts(m).size());
}

// A dn | B dn | 300 ms, B up | 50 ms, A up  at offsets 0, 2, 4 (long), 8; end 10.
MacroRecord Sample() {
    return MakeMacro({{0x41, false, 1}, {0x42, false, 1}, {0x42, true, 300}, {0x41, true, 50}});
}

TEST(MacroEvents, LineLookups) {
    const MacroRecord m = Sample();
    ASSERT_EQ(Texts(m), (std::vector<std::u16string>{u"A  dn", u"B  dn", u"300 ms", u"B  up",
                                                     u"50 ms", u"A  up"}));
    struct Row {
        std::size_t line;
        std::size_t atLine, afterLines, endingAt;
    };
    const Row rows[] = {
        {0, 0, 0, 0}, {1, 2, 2, 0},   {2, 4, 4, 2}, {3, 0, 0, 0},   {4, 8, 8, 4},
        {5, 0, 0, 0}, {6, 10, 10, 8}, {7, 0, 0, 0}, {200, 0, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FindEventAtLine(m.displayEvents, r.line), r.atLine) << r.line;
        EXPECT_EQ(FindPlaceAfterLines(m.displayEvents, r.line), r.afterLines) << r.line;
        EXPECT_EQ(FindEventEndingAtLines(m.displayEvents, r.line), r.endingAt) << r.line;
    }
}

TEST(MacroEvents, PrimitivesEditBothStreams) {
    struct Row {
        const char* what;
        std::function<void(MacroRecord&)> edit;
        std::vector<std::uint8_t> display; // up to and including the first zero pair
        std::vector<std::u16string> lines;
    };
    const Row rows[] = {
        {"remove long",
         [](MacroRecord& m) { RemoveEvent(m.streams(), 4); },
         {1, 0x41, 1, 0x42, 0xB2, 0x41, 0, 0},
         {u"A  dn", u"B  dn", u"50 ms", u"A  up"}},
        {"remove delay of long",
         [](MacroRecord& m) { RemoveEventDelay(m.streams(), 4); },
         {1, 0x41, 1, 0x42, 0x81, 0x42, 0xB2, 0x41, 0, 0},
         {u"A  dn", u"B  dn", u"B  up", u"50 ms", u"A  up"}},
        {"delay 126 shrinks",
         [](MacroRecord& m) { SetEventDelay(m.streams(), 4, 126); },
         {1, 0x41, 1, 0x42, 0xFE, 0x42, 0xB2, 0x41, 0, 0},
         {u"A  dn", u"B  dn", u"126 ms", u"B  up", u"50 ms", u"A  up"}},
        {"delay 127 grows",
         [](MacroRecord& m) { SetEventDelay(m.streams(), 8, 127); },
         {1, 0x41, 1, 0x42, 0xFF, 0x42, 0x01, 0x2C, 0xFF, 0x41, 0x00, 0x7F, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up", u"127 ms", u"A  up"}},
        {"insert at start",
         [](MacroRecord& m) { InsertShortEvent(m.streams(), 0, 0xF0, false); },
         {1, 0xF0, 1, 0x41, 1, 0x42, 0xFF, 0x42, 0x01, 0x2C, 0xB2, 0x41, 0, 0},
         {u"MsLB dn", u"A  dn", u"B  dn", u"300 ms", u"B  up", u"50 ms", u"A  up"}},
        {"append click",
         [](MacroRecord& m) {
             InsertShortEvent(m.streams(), FindPlaceAfterLines(m.displayEvents, 6), 0xF0, false);
             InsertShortEvent(m.streams(), FindPlaceAfterLines(m.displayEvents, 7), 0xF0, true);
         },
         {1, 0x41, 1, 0x42, 0xFF, 0x42, 0x01, 0x2C, 0xB2, 0x41, 1, 0xF0, 0x81, 0xF0, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up", u"50 ms", u"A  up", u"MsLB dn", u"MsLB up"}},
        {"insert delay on a long event",
         [](MacroRecord& m) { SetEventDelay(m.streams(), 4, kInsertedDelay); },
         {1, 0x41, 1, 0x42, 0xB2, 0x42, 0xB2, 0x41, 0, 0},
         {u"A  dn", u"B  dn", u"50 ms", u"B  up", u"50 ms", u"A  up"}},
        {"not an event start changes nothing",
         [](MacroRecord& m) {
             RemoveEvent(m.streams(), 6);
             SetEventDelay(m.streams(), 3, 500);
             InsertShortEvent(m.streams(), 7, 0x41, false);
             RemoveEvent(m.streams(), 10);
         },
         {1, 0x41, 1, 0x42, 0xFF, 0x42, 0x01, 0x2C, 0xB2, 0x41, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up", u"50 ms", u"A  up"}},
    };
    for (const Row& r : rows) {
        MacroRecord m = Sample();
        r.edit(m);
        ForceFirstEventDelay(m.streams());
        EXPECT_EQ(Head(m.displayEvents, r.display.size()), r.display) << r.what;
        EXPECT_EQ(Texts(m), r.lines) << r.what;
        ExpectWellFormed(m);
    }
}

TEST(MacroEvents, KeysWithoutADeviceCodeAreNotStored) {
    // 0x0C has no device code: a 0 key byte would end the device stream behind the display's.
    MacroRecord m = MakeMacro({{0x41, false, 1}, {0x0C, false, 1}, {0x00, true, 1}});
    EXPECT_EQ(InsertShortEvent(m.streams(), 0, 0x0C, false), false);
    EXPECT_EQ(Texts(m), (std::vector<std::u16string>{u"A  dn"}));
    ExpectWellFormed(m);
}

TEST(MacroEvents, RemovingTheFirstEventKeepsTheStreamWellFormed) {
    // The release behind it is a long event: forcing its delay to 1 takes its delay bytes out.
    MacroRecord m = MakeMacro({{0x41, false, 1}, {0x41, true, 300}, {0x42, false, 1}});
    RemoveEvent(m.streams(), 0);
    ForceFirstEventDelay(m.streams());
    EXPECT_EQ(Head(m.deviceEvents, 6), (std::vector<std::uint8_t>{0x81, 0x04, 0x01, 0x05, 0, 0}));
    EXPECT_EQ(Texts(m), (std::vector<std::u16string>{u"A  up", u"B  dn"}));
    ExpectWellFormed(m);
}

MacroRecord Full(std::size_t events) {
    MacroRecord m;
    for (std::size_t i = 0; i < events; ++i)
        AppendEvent(m.streams(), static_cast<std::uint8_t>(0x41 + i % 26), i % 2 == 1, 1);
    return m;
}

TEST(MacroEvents, FullStreamsNeverGrowPastTheEnd) {
    MacroRecord m = Full(95);
    ASSERT_EQ(EventStreamEnd(m.deviceEvents), kEventStreamSize);
    EXPECT_EQ(AppendEvent(m.streams(), 0x41, true, 1), 0u); // no room: dropped

    InsertShortEvent(m.streams(), 0, 0xF1, false); // the last event falls off
    EXPECT_EQ(Events(m.displayEvents).size(), 95u);
    EXPECT_EQ(m.displayEvents[0], 0x01);
    EXPECT_EQ(m.displayEvents[1], 0xF1);
    ExpectWellFormed(m);

    // Growing the last event to the long form cannot fit: it is dropped.
    SetEventDelay(m.streams(), 188, 300);
    EXPECT_EQ(EventStreamEnd(m.displayEvents), 188u);
    ExpectWellFormed(m);

    // Growing an event in the middle pushes the last one out.
    m = Full(95);
    SetEventDelay(m.streams(), 100, 1000);
    EXPECT_EQ(Events(m.displayEvents).size(), 94u);
    EXPECT_EQ(EventStreamEnd(m.displayEvents), 190u);
    ExpectWellFormed(m);

    // A long event cut in half by an insertion leaves no half event behind.
    m = Full(93);
    ASSERT_EQ(AppendEvent(m.streams(), 0x41, true, 300), 4u);
    ASSERT_EQ(EventStreamEnd(m.displayEvents), 190u);
    InsertShortEvent(m.streams(), 2, 0x42, false);
    EXPECT_EQ(EventStreamEnd(m.displayEvents), 188u);
    ExpectWellFormed(m);

    // Near the recording limit a long release needs 4 bytes: it fits at 186, not at 188.
    m = Full(93);
    EXPECT_EQ(AppendEvent(m.streams(), 0x41, true, 300), 4u);
    m = Full(94);
    EXPECT_EQ(AppendEvent(m.streams(), 0x41, true, 300), 0u);
    EXPECT_EQ(AppendEvent(m.streams(), 0x41, true, 5), 2u);
}

TEST(MacroRecord, FileLayoutAndRepeatCountByteOrder) {
    MacroRecord m = MakeMacro({{0x41, false, 1}});
    m.setName(u"Ñu");
    m.repeatCount = 5;
    m.flags = 1;
    std::array<std::uint8_t, kMacroRecordSize> bytes{};
    m.serialiseInto(bytes);
    EXPECT_EQ(bytes[0], 0xD1);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], u'u');
    EXPECT_EQ(bytes[macro_record::repeatCount], 0x05);
    EXPECT_EQ(bytes[macro_record::repeatCount + 1], 0x00);
    EXPECT_EQ(bytes[macro_record::flags], 1);
    EXPECT_EQ(bytes[macro_record::deviceEvents + 1], 0x04);
    EXPECT_EQ(bytes[macro_record::displayEvents + 1], 0x41);
    EXPECT_EQ(MacroRecord::parse(bytes), m);

    std::array<std::uint8_t, kMacroBlockSize> block{};
    WriteMacroBlock(m, block);
    EXPECT_EQ(block[0], 0x00);
    EXPECT_EQ(block[1], 0x05);
    EXPECT_EQ(block[macro_block::events + 1], 0x04);
}

TEST(MacroRecord, NamesAreCutTo254Units) {
    struct Row {
        std::size_t length;
        std::size_t kept;
    };
    for (const Row r : {Row{254, 254}, Row{255, 254}, Row{1000, 254}, Row{0, 0}}) {
        MacroRecord m;
        m.setName(std::u16string(r.length, u'n'));
        EXPECT_EQ(m.name().size(), r.kept);
        EXPECT_EQ(m.nameUnits[kMacroNameUnits - 1], 0);
    }
    MacroRecord m;
    m.nameUnits.fill(u'x'); // a foreign file with no NUL
    EXPECT_EQ(m.name().size(), kMacroNameMaxLength);
}

TEST(MacroStore, BuildMacroBlocksStopsAtTheFirstFreeSlot) {
    auto store = std::make_unique<MacroStore>();
    SettingsImage image;
    image[field::macroBlocks][0] = 0x77;
    EXPECT_EQ(BuildMacroBlocks(*store, image), 0u); // a new file holds no macros
    (*store)[1].setName(u"second");
    EXPECT_EQ(BuildMacroBlocks(*store, image), 0u);
    EXPECT_EQ(image[field::macroBlocks][0], 0x77);

    // Only 32 blocks exist, however many slots a file names.
    for (std::size_t n = 0; n < 40; ++n) {
        (*store)[n].setName(u"x");
        (*store)[n].repeatCount = static_cast<std::uint16_t>(n + 0x100);
        (*store)[n].deviceEvents.fill(0xEE);
    }
    image.byte(field::responseTime) = 4;
    EXPECT_EQ(BuildMacroBlocks(*store, image), kMaxMacros);
    EXPECT_EQ(image.macroBlock(31)[0], 0x01);
    EXPECT_EQ(image.macroBlock(31)[1], 31);
    EXPECT_EQ(image.byte(field::reserved2), 0);
    EXPECT_EQ(image.byte(field::responseTime), 4);
}

TEST(MacroStore, NewNamesTakeTheFirstFreeNumber) {
    struct Row {
        unsigned number;
        std::u16string_view name;
    };
    for (const Row r : {Row{1, u"Macro_001"}, Row{9, u"Macro_009"}, Row{10, u"Macro_010"},
                        Row{98, u"Macro_098"}, Row{99, u"Macro_99"}, Row{100, u"Macro_100"}})
        EXPECT_EQ(MacroNameFor(r.number), r.name);
    const std::vector<std::u16string> names = {u"Macro_001", u"macro_002", u"Macro_003"};
    EXPECT_EQ(NewMacroName(names), u"Macro_002"); // comparison is case-sensitive
    EXPECT_EQ(NewMacroName({}), u"Macro_001");
}

// Foreign "MacroDefine.bin" content must never make the listing, the primitives or the block
// builder step outside a stream (the ASan build checks every access).
TEST(MacroStore, ArbitraryFilesStayInBounds) {
    std::mt19937 rng(20261208);
    const auto byte = [&] { return static_cast<std::uint8_t>(rng()); };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::uint8_t> file(kMacroStoreSize);
        for (auto& b : file)
            b = byte();
        // Some rounds favour escapes and nonzero keys near the end of the streams.
        if (round % 2 == 1) {
            for (std::size_t n = 0; n < kMacroSlotCount; ++n) {
                for (std::size_t i = 0; i < kEventStreamSize; i += 2) {
                    file[n * kMacroRecordSize + macro_record::deviceEvents + i] =
                        0x7F | (byte() & 0x80);
                    file[n * kMacroRecordSize + macro_record::displayEvents + i] = 0xFF;
                }
            }
        }
        auto store = std::make_unique<MacroStore>();
        store->parse(file);
        EXPECT_EQ(store->serialise(), file);
        SettingsImage image;
        BuildMacroBlocks(*store, image);
        for (int pick = 0; pick < 3; ++pick) {
            MacroRecord& m = (*store)[rng() % kMacroSlotCount];
            EXPECT_LE(m.name().size(), kMacroNameMaxLength);
            const std::size_t lines = EventLines(m.displayEvents).size();
            EXPECT_EQ(lines, EventLineCount(m.displayEvents));
            for (std::size_t l = 0; l <= lines + 1; ++l) {
                EXPECT_LE(FindEventAtLine(m.displayEvents, l), kEventStreamSize);
                EXPECT_LE(FindPlaceAfterLines(m.deviceEvents, l), kEventStreamSize);
                EXPECT_LE(FindEventEndingAtLines(m.displayEvents, l), kEventStreamSize);
            }
            for (std::size_t p = 0; p <= kEventStreamSize; ++p) {
                const std::size_t op = rng() % 5;
                MacroRecord copy = m;
                switch (op) {
                case 0:
                    InsertShortEvent(copy.streams(), p, byte(), rng() % 2);
                    break;
                case 1:
                    RemoveEvent(copy.streams(), p);
                    break;
                case 2:
                    RemoveEventDelay(copy.streams(), p);
                    break;
                case 3:
                    SetEventDelay(copy.streams(), p, static_cast<std::uint16_t>(rng()));
                    break;
                default:
                    AppendEvent(copy.streams(), byte(), rng() % 2,
                                static_cast<std::uint16_t>(rng()));
                }
                ForceFirstEventDelay(copy.streams());
                for (const EventStream* s : {&copy.deviceEvents, &copy.displayEvents})
                    EXPECT_EQ(EventLines(*s).size(), EventLineCount(*s));
            }
        }
    }
}

} // namespace
} // namespace orvo
