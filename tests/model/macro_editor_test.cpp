#include "model/macro_editor.h"

#include <gtest/gtest.h>

#include "model/config_state.h"
#include "model/key_tables.h"

namespace orvo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::u16string>;
using namespace std::chrono_literals;

constexpr std::uint8_t A = 0x41, B = 0x42, C = 0x43; // device codes 0x04, 0x05, 0x06

struct Stroke {
    std::uint8_t key;
    bool released;
    std::chrono::microseconds after; // since the previous stroke
};

// The editor over a store, with a clock the test moves.
struct Manager {
    std::chrono::steady_clock::time_point now{};
    MacroStore store;
    MacroEditor ed{[this] { return now; }};

    // Macros given as display streams (virtual-key codes), named "m0", "m1", ...
    explicit Manager(std::initializer_list<Bytes> macros = {}) {
        load(macros);
        ed.open(store);
    }
    Manager(const Manager&) = delete;
    void load(std::initializer_list<Bytes> macros) {
        std::size_t n = 0;
        for (const Bytes& display : macros) {
            MacroRecord& m = store[n];
            m.setName(u"m" + std::u16string(1, static_cast<char16_t>(u'0' + n++)));
            m.repeatCount = 1;
            for (const MacroEvent& e : Events(StreamOf(display)))
                AppendEvent(m.streams(), e.key, e.release, e.delay);
        }
    }
    static EventStream StreamOf(const Bytes& b) {
        EventStream s{};
        std::copy(b.begin(), b.end(), s.begin());
        return s;
    }
    void strokes(std::initializer_list<Stroke> list) {
        for (const Stroke& s : list) {
            now += s.after;
            ed.hookEvent(s.key, s.released);
        }
    }
    void record(bool delayOption, std::initializer_list<Stroke> list) {
        if (ed.delayOption() != delayOption)
            ed.toggleDelayOption();
        ASSERT_FALSE(ed.toggleRecording());
        strokes(list);
        ed.toggleRecording();
    }
    Bytes device(std::size_t n) const {
        return {ed.deviceEvents().begin(), ed.deviceEvents().begin() + n};
    }
    Bytes display(std::size_t n) const {
        return {ed.displayEvents().begin(), ed.displayEvents().begin() + n};
    }
};

// The lines shown are the stream's listing, both streams keep one shape and nothing stays
// behind the end; the selected slot holds the working streams.
void ExpectConsistent(const MacroEditor& ed) {
    Lines listing;
    for (const EventLine& l : EventLines(ed.displayEvents()))
        listing.push_back(l.text);
    EXPECT_EQ(ed.eventLines(), listing);
    const auto device = Events(ed.deviceEvents());
    const auto display = Events(ed.displayEvents());
    ASSERT_EQ(device.size(), display.size());
    EXPECT_EQ(ed.eventCount(), display.size());
    for (std::size_t i = 0; i < device.size(); ++i) {
        EXPECT_EQ(device[i].offset, display[i].offset);
        EXPECT_EQ(device[i].delay, display[i].delay);
        EXPECT_EQ(device[i].key, DeviceCodeOf(display[i].key));
    }
    if (!display.empty()) {
        EXPECT_EQ(display[0].delay, 1);
    }
    EXPECT_EQ(ed.writePos(), EventStreamEnd(ed.deviceEvents()));
    const std::size_t end = EventStreamEnd(ed.displayEvents());
    for (std::size_t i = end; i < kEventStreamSize; ++i)
        ASSERT_EQ(ed.displayEvents()[i] | ed.deviceEvents()[i], 0) << i;
    if (ed.selectedMacro()) {
        const MacroRecord& slot = ed.workingCopy()[*ed.selectedMacro()];
        EXPECT_EQ(slot.deviceEvents, ed.deviceEvents());
        EXPECT_EQ(slot.displayEvents, ed.displayEvents());
    }
}

TEST(MacroEditor, Recording) {
    struct Row {
        const char* what;
        bool delayOption;
        std::initializer_list<Stroke> strokes;
        Bytes device;
        Lines lines;
    };
    const Row rows[] = {
        {"A then B, no delays",
         false,
         {{A, false, 0us}, {B, false, 40ms}, {A, true, 90ms}, {B, true, 300ms}},
         {0x01, 0x04, 0x01, 0x05, 0x81, 0x04, 0x81, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"A  up", u"B  up"}},
        {"300 ms later",
         true,
         {{A, false, 5s}, {A, true, 300ms}},
         {0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C, 0, 0},
         {u"A  dn", u"300 ms", u"A  up"}},
        {"a pause over a minute",
         true,
         {{A, false, 0us}, {A, true, 61s}},
         {0x01, 0x04, 0xFF, 0x04, 0xEA, 0x60, 0, 0},
         {u"A  dn", u"60000 ms", u"A  up"}},
        {"milliseconds are whole",
         true,
         {{A, false, 0us}, {B, false, 126999us}, {C, false, 127ms}},
         {0x01, 0x04, 0x7E, 0x05, 0x7F, 0x06, 0x00, 0x7F, 0, 0},
         {u"A  dn", u"126 ms", u"B  dn", u"127 ms", u"C  dn"}},
        {"within one millisecond",
         true,
         {{A, false, 0us}, {B, false, 999us}, {B, true, 1ms}},
         {0x01, 0x04, 0x01, 0x05, 0x81, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"B  up"}},
        {"a held key",
         false,
         {{A, false, 0us}, {A, false, 30ms}, {A, false, 30ms}, {A, true, 30ms}},
         {0x01, 0x04, 0x81, 0x04, 0, 0},
         {u"A  dn", u"A  up"}},
        {"press, release, press",
         false,
         {{A, false, 0us}, {A, true, 1ms}, {A, false, 1ms}},
         {0x01, 0x04, 0x81, 0x04, 0x01, 0x04, 0, 0},
         {u"A  dn", u"A  up", u"A  dn"}},
        {"the first stroke is never delayed",
         true,
         {{A, true, 9s}, {B, false, 2ms}},
         {0x81, 0x04, 0x02, 0x05, 0, 0},
         {u"A  up", u"2 ms", u"B  dn"}},
        {"keys the keyboard cannot play",
         false,
         {{0x0C, false, 0us}, {A, false, 1ms}, {0x0C, true, 1ms}},
         {0x01, 0x04, 0, 0},
         {u"A  dn"}},
    };
    for (const Row& r : rows) {
        Manager m({{0x01, C, 0x81, C}}); // recording replaces what the macro held
        m.record(r.delayOption, r.strokes);
        EXPECT_EQ(m.device(r.device.size()), r.device) << r.what;
        EXPECT_EQ(m.ed.eventLines(), r.lines) << r.what;
        const MacroRecord& slot = m.ed.workingCopy()[0];
        EXPECT_EQ(slot.flags, r.delayOption ? 1 : 0) << r.what;
        EXPECT_EQ(slot.repeatCount, 1) << r.what;
        EXPECT_FALSE(m.ed.hookInstalled());
        ExpectConsistent(m.ed);
    }
}

TEST(MacroEditor, RecordingNeedsAMacroAndStopsAtTheLimit) {
    Manager empty;
    EXPECT_EQ(empty.ed.toggleRecording(), (Notice{kNoMacroToRecordText, kMacroCaption}));
    EXPECT_FALSE(empty.ed.recording());

    // 92 presses fill 184 bytes: the next press is refused, releases go in while they fit.
    Manager m({Bytes{}});
    m.ed.toggleDelayOption();
    m.ed.toggleRecording();
    for (int i = 0; i < 92; ++i)
        m.strokes({{static_cast<std::uint8_t>(i % 2 ? A : B), false, 1ms}});
    ASSERT_EQ(m.ed.writePos(), 184u);
    // A long release takes 4 bytes; the next one would need 4 of the 2 left; a short one fits.
    m.strokes({{C, false, 1ms}, {A, true, 200ms}, {B, true, 300ms}, {C, true, 1ms}});
    EXPECT_EQ(m.ed.eventLines().back(), u"C  up");
    EXPECT_EQ(m.ed.eventLines().end()[-2], u"A  up");
    EXPECT_EQ(m.ed.writePos(), kEventStreamSize);
    ExpectConsistent(m.ed);
}

// A dn | B dn | 300 ms, B up
const Bytes kSample{0x01, A, 0x01, B, 0xFF, B, 0x01, 0x2C};

TEST(MacroEditor, SingleInsertion) {
    struct Row {
        std::size_t line;
        std::uint16_t command;
        Lines lines;
    };
    const Row rows[] = {
        {0,
         macro_menu::recordBefore,
         {u"C  dn", u"C  up", u"A  dn", u"B  dn", u"300 ms", u"B  up"}},
        {3,
         macro_menu::recordBefore,
         {u"A  dn", u"B  dn", u"C  dn", u"C  up", u"300 ms", u"B  up"}},
        {2,
         macro_menu::recordBefore,
         {u"A  dn", u"B  dn", u"C  dn", u"C  up", u"300 ms", u"B  up"}},
        {1, macro_menu::recordAfter, {u"A  dn", u"B  dn", u"C  dn", u"C  up", u"300 ms", u"B  up"}},
        {2, macro_menu::recordAfter, {u"A  dn", u"B  dn", u"300 ms", u"B  up", u"C  dn", u"C  up"}},
        {3, macro_menu::recordAfter, {u"A  dn", u"B  dn", u"300 ms", u"B  up", u"C  dn", u"C  up"}},
    };
    for (const Row& r : rows) {
        Manager m({kSample});
        m.ed.selectLine(r.line);
        m.ed.menuCommand(r.command);
        EXPECT_TRUE(m.ed.insertMode() && m.ed.hookInstalled());
        m.strokes({{C, false, 1ms}, {C, true, 1ms}});
        EXPECT_EQ(m.ed.eventLines(), r.lines) << r.line;
        EXPECT_FALSE(m.ed.insertMode() || m.ed.hookInstalled());
        ExpectConsistent(m.ed);
    }
    Manager m({kSample});
    m.ed.selectLine(0);
    m.ed.recordBefore();
    m.strokes({{C, false, 1ms}, {C, false, 1ms}, {C, true, 1ms}}); // every press goes in
    EXPECT_EQ(m.device(8), (Bytes{0x01, 0x06, 0x01, 0x06, 0x81, 0x06, 0x01, 0x04}));
}

TEST(MacroEditor, MouseCommandsAppendAfterTheLastKeyLine) {
    struct Row {
        std::uint16_t command;
        Lines lines;
        Bytes events;
    };
    const Row rows[] = {
        {32800, {u"MsLB dn"}, {0x01, 0xF0}},
        {32801, {u"MsLB up"}, {0x81, 0xF0}},
        {32802, {u"MsLB dn", u"MsLB up"}, {0x01, 0xF0, 0x81, 0xF0}},
        {32804, {u"MsRB dn"}, {0x01, 0xF1}},
        {32806, {u"MsRB up"}, {0x81, 0xF1}},
        {32807, {u"MsRB dn", u"MsRB up"}, {0x01, 0xF1, 0x81, 0xF1}},
        {32811, {u"MsMB dn"}, {0x01, 0xF2}},
        {32812, {u"MsMB up"}, {0x81, 0xF2}},
        {32813, {u"MsMB dn", u"MsMB up"}, {0x01, 0xF2, 0x81, 0xF2}},
    };
    ASSERT_EQ(std::size(rows), kMouseCommands.size());
    for (const Row& r : rows) {
        Manager m({kSample});
        m.ed.selectLine(3);
        m.ed.menuCommand(r.command);
        Lines lines{u"A  dn", u"B  dn", u"300 ms", u"B  up"};
        lines.insert(lines.end(), r.lines.begin(), r.lines.end());
        EXPECT_EQ(m.ed.eventLines(), lines) << r.command;
        Bytes device{0x01, 0x04, 0x01, 0x05, 0xFF, 0x05, 0x01, 0x2C};
        device.insert(device.end(), r.events.begin(), r.events.end());
        device.push_back(0);
        EXPECT_EQ(m.device(device.size()), device) << r.command;
        EXPECT_EQ(m.ed.selectedLine(), 3u);
        ExpectConsistent(m.ed);
    }
    // On a delay line the click goes after the event the delay belongs to.
    Manager m({kSample});
    m.ed.selectLine(2);
    m.ed.menuCommand(32802);
    EXPECT_EQ(m.ed.eventLines().back(), u"MsLB up");
}

TEST(MacroEditor, EventEdits) {
    struct Row {
        const char* what;
        Bytes display;
        std::size_t line;
        std::function<Notice(MacroEditor&)> edit;
        Bytes device; // up to and including the first zero pair
        Lines lines;
        Notice notice = {};
    };
    const auto insertDelay = [](MacroEditor& e) { return e.insertDelay(); };
    const auto remove = [](MacroEditor& e) { return e.deleteLine(), Notice{}; };
    const auto editTo = [](std::size_t line, int v) {
        return [line, v](MacroEditor& e) { return e.editDelay(line, v), Notice{}; };
    };
    const Bytes twoPresses{0x01, A, 0x01, B};
    const Row rows[] = {
        {"insert delay",
         twoPresses,
         0,
         insertDelay,
         {0x01, 0x04, 0x32, 0x05, 0, 0},
         {u"A  dn", u"50 ms", u"B  dn"}},
        {"insert delay before a long event",
         kSample,
         1,
         insertDelay,
         {0x01, 0x04, 0x01, 0x05, 0xB2, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"50 ms", u"B  up"}},
        {"insert delay on a delay line",
         kSample,
         2,
         insertDelay,
         {0x01, 0x04, 0x01, 0x05, 0xFF, 0x05, 0x01, 0x2C, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up"},
         {kEditCurrentDelayText, kMacroCaption}},
        {"insert delay on the last line",
         kSample,
         3,
         insertDelay,
         {0x01, 0x04, 0x01, 0x05, 0xFF, 0x05, 0x01, 0x2C, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up"}},
        {"delete a delay line",
         kSample,
         2,
         remove,
         {0x01, 0x04, 0x01, 0x05, 0x81, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"B  up"}},
        {"delete a delayed event",
         kSample,
         3,
         remove,
         {0x01, 0x04, 0x01, 0x05, 0, 0},
         {u"A  dn", u"B  dn"}},
        {"delete the first event", {0x01, A, 0x30, B}, 0, remove, {0x01, 0x05, 0, 0}, {u"B  dn"}},
        {"delay edited to 126",
         kSample,
         2,
         editTo(2, 126),
         {0x01, 0x04, 0x01, 0x05, 0xFE, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"126 ms", u"B  up"}},
        {"delay edited to 127",
         {0x01, A, 0x05, B, 0x01, C},
         2,
         editTo(1, 127),
         {0x01, 0x04, 0x7F, 0x05, 0x00, 0x7F, 0x01, 0x06, 0, 0},
         {u"A  dn", u"127 ms", u"B  dn", u"C  dn"}},
        {"delay edited below 2",
         kSample,
         2,
         editTo(2, 1),
         {0x01, 0x04, 0x01, 0x05, 0x82, 0x05, 0, 0},
         {u"A  dn", u"B  dn", u"2 ms", u"B  up"}},
        {"a key line is no delay",
         kSample,
         1,
         [](MacroEditor& e) { return e.editDelay(1, 500), Notice{}; },
         {0x01, 0x04, 0x01, 0x05, 0xFF, 0x05, 0x01, 0x2C, 0, 0},
         {u"A  dn", u"B  dn", u"300 ms", u"B  up"}},
    };
    for (const Row& r : rows) {
        Manager m({r.display});
        m.ed.selectLine(r.line);
        EXPECT_EQ(r.edit(m.ed), r.notice) << r.what;
        EXPECT_EQ(m.device(r.device.size()), r.device) << r.what;
        EXPECT_EQ(m.ed.eventLines(), r.lines) << r.what;
        ExpectConsistent(m.ed);
    }
}

TEST(MacroEditor, OpeningAndShowing) {
    Manager none;
    EXPECT_TRUE(none.ed.macroNames().empty() && none.ed.eventLines().empty());
    EXPECT_FALSE(none.ed.selectedMacro() || none.ed.delayOption() || none.ed.loopOption());

    // The end of a long event whose delay high byte is 0 is not its first zero byte.
    Manager m({{0x01, A, 0xFF, A, 0x00, 0x7F}, {}, {}});
    EXPECT_EQ(m.ed.selectedMacro(), 0u);
    EXPECT_EQ(m.ed.writePos(), 6u);
    struct Row {
        std::uint16_t repeatCount;
        std::uint8_t flags;
        bool loop;
        std::u16string text;
    };
    for (const Row& r : {Row{0, 1, false, u"1"}, Row{1, 0, false, u"1"}, Row{5, 1, true, u"5"}}) {
        m.store[1].repeatCount = r.repeatCount;
        m.store[1].flags = r.flags;
        m.ed.open(m.store);
        m.ed.selectMacro(1);
        EXPECT_EQ(m.ed.loopOption(), r.loop);
        EXPECT_EQ(m.ed.delayOption(), r.flags == 1);
        EXPECT_EQ(m.ed.repeatText(), r.text);
    }
    // A free slot between named ones: positions and slots are made to agree.
    m.store[1] = MacroRecord{};
    m.ed.open(m.store);
    EXPECT_EQ(m.ed.macroNames(), (Lines{u"m0", u"m2"}));
    EXPECT_EQ(m.ed.workingCopy()[1].name(), u"m2");
}

TEST(MacroEditor, NewDeleteAndRename) {
    Manager m({kSample, {0x01, B}, {0x01, C}});
    const auto yes = [](const Notice& q) {
        return q == Notice{kConfirmDeleteMacroText, kMacroCaption};
    };
    m.ed.selectMacro(1);
    EXPECT_EQ(m.ed.deleteMacro([](const Notice&) { return false; }), Notice{});
    EXPECT_EQ(m.ed.macroNames().size(), 3u);
    EXPECT_EQ(m.ed.deleteMacro(yes), Notice{});
    EXPECT_EQ(m.ed.macroNames(), (Lines{u"m0", u"m2"}));
    EXPECT_EQ(m.ed.workingCopy()[1].name(), u"m2");
    EXPECT_EQ(m.ed.workingCopy()[1].displayEvents[1], C);
    EXPECT_TRUE(m.ed.workingCopy()[2].isFree());
    EXPECT_EQ(m.ed.selectedMacro(), 1u);
    EXPECT_EQ(m.ed.eventLines(), (Lines{u"C  dn"}));

    m.ed.newMacro();
    EXPECT_EQ(m.ed.macroNames().back(), u"Macro_001");
    EXPECT_EQ(m.ed.selectedMacro(), 2u);
    EXPECT_TRUE(m.ed.eventLines().empty());
    while (m.ed.macroNames().size() < kMaxMacros)
        m.ed.newMacro();
    m.ed.newMacro();
    EXPECT_EQ(m.ed.macroNames().size(), kMaxMacros);
    EXPECT_EQ(m.ed.workingCopy().leadingMacroCount(), kMaxMacros);

    // Renames reach the working copy at once and touch no event; empty names are refused.
    m.ed.selectMacro(0);
    EXPECT_EQ(m.ed.renameMacro(0, u""), (Notice{kEmptyMacroNameText, kMacroCaption}));
    EXPECT_EQ(m.ed.renameMacro(0, std::u16string(u"\0x", 2)).text, kEmptyMacroNameText);
    EXPECT_EQ(m.ed.macroNames()[0], u"m0");
    EXPECT_EQ(m.ed.renameMacro(0, std::u16string(300, u'n')), Notice{});
    EXPECT_EQ(m.ed.macroNames()[0].size(), kMacroNameMaxLength);
    EXPECT_EQ(m.ed.workingCopy()[0].name(), m.ed.macroNames()[0]);
    EXPECT_EQ(m.ed.workingCopy()[0].displayEvents, m.store[0].displayEvents);

    // Deleting the only macro leaves nothing selected.
    Manager one({kSample});
    EXPECT_EQ(one.ed.deleteMacro(yes), Notice{});
    EXPECT_FALSE(one.ed.selectedMacro());
    EXPECT_TRUE(one.ed.eventLines().empty() && one.ed.workingCopy()[0].isFree());
    EXPECT_EQ(one.ed.deleteMacro(yes), (Notice{kNoMacroToDeleteText, kMacroCaption}));
}

TEST(MacroEditor, RepeatCountAndClosing) {
    Manager m({kSample});
    struct Row {
        std::u16string typed, shown;
    };
    m.ed.toggleLoopOption();
    for (const Row& r : {Row{u"0", u"1"}, Row{u"", u"1"}, Row{u"7", u"7"}, Row{u"9999", u"999"}})
        EXPECT_EQ(m.ed.editRepeatText(r.typed), r.shown);
    m.ed.editRepeatText(u"7");
    EXPECT_EQ(m.ed.workingCopy()[0].repeatCount, 7);

    // The close box and Cancelar leave the store as it was; OK takes the working copy.
    m.ed.selectLine(3);
    m.ed.deleteLine();
    const MacroStore before = m.store;
    m.ed.dismiss();
    EXPECT_EQ(m.store, before);
    m.ed.accept(m.store);
    EXPECT_EQ(m.store[0].repeatCount, 7);
    EXPECT_EQ(m.store[0].displayEvents, m.ed.displayEvents());

    // Turning the loop off plays the macro once again.
    m.ed.toggleLoopOption();
    EXPECT_EQ(m.ed.repeatText(), u"1");
    EXPECT_EQ(m.ed.workingCopy()[0].repeatCount, 1);
}

TEST(MacroEditor, TheHookServesOnlyRecordingAndInsertion) {
    // An edit that ends a pending insertion drops the hook: later key strokes typed in the
    // dialog do not land in the macro.
    Manager m({kSample});
    m.ed.selectLine(0);
    m.ed.recordBefore();
    m.ed.deleteLine();
    EXPECT_FALSE(m.ed.hookInstalled());
    m.strokes({{C, false, 1ms}, {C, true, 1ms}});
    EXPECT_EQ(m.ed.eventLines(), (Lines{u"B  dn", u"300 ms", u"B  up"}));

    // While recording, the hook stays after an insertion, so recording goes on.
    m.ed.toggleRecording();
    m.strokes({{A, false, 0us}, {A, true, 1ms}});
    m.ed.selectLine(0);
    m.ed.recordBefore();
    m.strokes({{C, false, 1ms}, {C, true, 1ms}, {B, false, 1ms}});
    EXPECT_EQ(m.ed.eventLines(), (Lines{u"C  dn", u"C  up", u"A  dn", u"A  up", u"B  dn"}));
    EXPECT_TRUE(m.ed.hookInstalled());

    // An in-place edit stops recording.
    m.ed.editBegin();
    EXPECT_FALSE(m.ed.recording() || m.ed.hookInstalled() || m.ed.insertMode());
}

// A stream filled to its last byte, edited at every line by every operation, never grows
// past its end (the sanitizer build checks every access) and stays consistent.
TEST(MacroEditor, AFullStreamUnderEveryOperation) {
    Bytes full;
    for (std::size_t i = 0; i < 93; ++i)
        full.insert(full.end(), {static_cast<std::uint8_t>(i % 2 ? 0x81 : 0x01), A});
    full.insert(full.end(), {0xFF, B, 0x01, 0x00}); // a long event ends it at byte 190
    ASSERT_EQ(full.size(), kEventStreamSize);
    std::vector<std::function<void(Manager&)>> operations = {
        [](Manager& m) { m.ed.menuCommand(macro_menu::insertDelay); },
        [](Manager& m) { m.ed.menuCommand(macro_menu::deleteLine); },
        [](Manager& m) { m.ed.editDelay(*m.ed.selectedLine(), 60000); },
        [](Manager& m) {
            m.ed.recordBefore();
            m.strokes({{C, false, 1ms}, {C, true, 1ms}});
        },
        [](Manager& m) {
            m.ed.recordAfter();
            m.strokes({{C, false, 1ms}, {C, true, 1ms}});
        },
        [](Manager& m) {
            m.ed.recordAfter();
            m.strokes({{C, false, 1ms}, {C, false, 1ms}, {C, false, 1ms}});
        },
    };
    for (const MouseCommand& c : kMouseCommands)
        operations.push_back([c](Manager& m) { m.ed.menuCommand(c.command); });
    for (std::size_t op = 0; op < operations.size(); ++op) {
        for (std::size_t line = 0; line < 95; ++line) {
            Manager m({full});
            m.ed.selectLine(line);
            if (!m.ed.selectedLine())
                break;
            operations[op](m);
            EXPECT_LE(m.ed.writePos(), kEventStreamSize);
            ExpectConsistent(m.ed);
            if (testing::Test::HasFailure())
                FAIL() << "operation " << op << " at line " << line;
        }
    }
}

} // namespace
} // namespace orvo

namespace orvo {
namespace {

// Deleting a macro moves the later ones down a number: keys playing them follow, and a key
// whose macro was deleted does what it says on it again (it would otherwise play whichever
// macro took the number).
TEST(MacroKeys, KeysFollowTheirMacroWhenAnEarlierOneIsDeleted) {
    Manager m({{0x01, A}, {0x01, B}, {0x01, C}});
    ConfigState state;
    state.macros = m.store;
    std::ranges::fill(state.image[field::keyEnableMask], 0xFF); // every key enabled
    // Keys "A", "B" and "C" (indexes 63, 83, 81) play macros 0, 1 and 2, as the key
    // assignment stores a macro: entry 4, 1, n, 0 and record kind 2 with the same bytes.
    const std::array<std::pair<std::size_t, std::uint8_t>, 3> keys{{{63, 0}, {83, 1}, {81, 2}}};
    for (const auto& [key, number] : keys) {
        const std::array<std::uint8_t, 4> macro{4, 1, number, 0};
        std::ranges::copy(macro, KeyMapEntry(state.image, SlotOf(key)).begin());
        state.keyActions[key].setKind(AssignmentKind::Macro);
        std::ranges::copy(macro, state.keyActions[key].kindData().begin());
    }
    m.ed.selectMacro(1);
    ASSERT_EQ(m.ed.deleteMacro([](const Notice&) { return true; }), Notice{});
    m.ed.newMacro(); // takes number 2, which no key played
    m.ed.accept(state.macros);

    EXPECT_EQ(RenumberMacroKeys(state, m.ed.renumbering()), 2u);
    const auto entry = [&](std::size_t key) {
        const auto e = KeyMapEntry(state.image, SlotOf(key));
        return std::vector<std::uint8_t>(e.begin(), e.end());
    };
    EXPECT_EQ(entry(63), (Bytes{4, 1, 0, 0}));
    EXPECT_EQ(entry(81), (Bytes{4, 1, 1, 0}));
    EXPECT_EQ(state.keyActions[81].kindData()[2], 1);
    // "B" is the B key again: 0, 0, its device code 0x05, 0, and no recorded assignment.
    EXPECT_EQ(entry(83), (Bytes{0, 0, 0x05, 0}));
    EXPECT_EQ(state.keyActions[83].kind(), 0);
    EXPECT_EQ(state.customisedKeys[83], 0);
    EXPECT_EQ(state.customisedKeys[81], 1);
}

} // namespace
} // namespace orvo
