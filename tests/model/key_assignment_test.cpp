#include "model/key_assignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/function_table.h"
#include "model/key_map_layout.h"
#include "model/key_tables.h"

namespace orvo {
namespace {

using Entry = std::array<std::uint8_t, 4>;

// Key "A": key index 63, own code 0x41 (device code 0x04), key-map slot 8.
constexpr std::size_t kKeyA = 63;
constexpr std::size_t kSlotA = 8;
constexpr Entry kOwnEntryA{0, 0, 0x04, 0};

// Client points of the dialog's buttons and of the "Avanzado" rows (row tops 79 + 40 r).
constexpr Point kKeysTab{40, 40};
constexpr Point kMacroTab{120, 40};
constexpr Point kAdvancedTab{300, 40};
constexpr Point kResetButton{170, 255};
constexpr Point kSaveButton{280, 255};
constexpr Point kFreeSpot{200, 235};
constexpr Point RowIcon(int row) {
    return {8, 79 + 40 * row + 10};
}
constexpr Point RowBrowse(int row) {
    return {290, 79 + 40 * row + 10};
}

struct KeyAssignmentTest : ::testing::Test {
    std::unique_ptr<ConfigState> config = std::make_unique<ConfigState>();
    KeyAssignmentState s;

    void SetUp() override {
        std::ranges::copy(FactoryKeyMap, config->image[field::keyMap].begin());
        std::ranges::fill(config->image[field::keyEnableMask], std::uint8_t{0xFF});
        config->keyActions.clear();
        config->customisedKeys.fill(0);
    }
    KeyActionRecord& record() { return config->keyActions[kKeyA]; }
    Entry entry() const {
        const auto e = KeyMapEntry(config->image, kSlotA);
        return {e[0], e[1], e[2], e[3]};
    }
    void setEntry(Entry e) { std::ranges::copy(e, KeyMapEntry(config->image, kSlotA).begin()); }
    void setRecord(AssignmentKind kind, std::vector<std::uint8_t> data, std::uint8_t count,
                   std::u16string_view path = {}) {
        record().setKind(kind);
        std::ranges::copy(data, record().kindData().begin());
        record().setCapturedCount(count);
        record().setPath(path);
    }
    void disableKey() { SetKeySlotEnabled(config->image, kSlotA, false); }
    void addMacros(int n) {
        for (int i = 0; i < n; ++i)
            config->macros[static_cast<std::size_t>(i)].setName(MacroNameFor(i + 1));
    }
    void open() { OpenKeyAssignment(s, *config, kKeyA); }
    KeyMapClick click(Point p, const KeyMapSelections& selections = {}) {
        return ClickKeyMap(s, record(), p, selections);
    }
    void save(const KeyMapSelections& selections = {}) {
        ASSERT_EQ(click(kSaveButton, selections).outcome, KeyMapOutcome::Ok);
    }
};

// ---- encoding: a whole showing, from the stored record to the applied result ----

using Showing = std::function<void(KeyAssignmentTest&)>; // prepares, opens, ends with OK

struct Stored {
    Entry entry;                    // A's key-map entry
    std::uint8_t kind;              // record byte 1
    std::vector<std::uint8_t> data; // record bytes 2.., zero beyond
    std::uint8_t count;             // record byte 257
    std::u16string path;
    bool enabled;
    bool customised;
};

Showing Single(std::uint8_t code) {
    return [code](KeyAssignmentTest& t) {
        t.open();
        ASSERT_TRUE(CaptureKey(t.s, code));
        t.save();
    };
}

Showing Combination(std::vector<std::uint8_t> codes) {
    return [codes](KeyAssignmentTest& t) {
        t.open();
        CombinationEditFocused(t.s);
        for (const std::uint8_t c : codes)
            ASSERT_TRUE(CaptureKey(t.s, c));
        t.save();
    };
}

Showing Choose(std::u16string label) {
    return [label](KeyAssignmentTest& t) {
        t.open();
        ClickPage(t.s, t.record(), KeyMapPage::Basic);
        t.save({-1, label});
    };
}

void NothingCapturedAndDisabled(KeyAssignmentTest& t) {
    t.setEntry({0, 0, 0x05, 0});
    t.open();
    ToggleDisable(t.s);
    t.save();
}

void NoMacroSelected(KeyAssignmentTest& t) {
    t.addMacros(1);
    t.setEntry({4, 1, 0, 0});
    t.setRecord(AssignmentKind::Macro, {4, 1, 0, 0}, 0);
    t.disableKey();
    t.open();
    ASSERT_TRUE(t.s.disableChecked);
    t.save({-1, u""});
}

void SecondMacro(KeyAssignmentTest& t) {
    t.addMacros(2);
    t.open();
    t.click(kMacroTab);
    t.save({1, u""});
}

void BrowsedProgram(KeyAssignmentTest& t) {
    t.open();
    t.click(kAdvancedTab);
    ASSERT_EQ(t.click(RowBrowse(1)).browseRow, 1);
    ASSERT_TRUE(FinishBrowse(t.s, 1, u"/opt/tools/run me"));
    t.save();
}

void ResetAfterAudio(KeyAssignmentTest& t) {
    t.setEntry({0x0A, 0, 0x41, 0});
    t.setRecord(AssignmentKind::PlayAudio, {3, 0, 0x23, 2}, 0, u"/music/a.mp3");
    t.disableKey();
    t.open();
    ASSERT_EQ(t.click(kResetButton).outcome, KeyMapOutcome::Ok);
}

void AdvancedIconOnly(KeyAssignmentTest& t) {
    t.setEntry({0, 0, 0x05, 0});
    t.setRecord(AssignmentKind::SingleKey, {0x42}, 1);
    t.open();
    t.click(kAdvancedTab);
    t.click(RowIcon(0));
    t.save();
}

void AdvancedNothing(KeyAssignmentTest& t) {
    t.setEntry({0, 0, 0x05, 0});
    t.open();
    t.click(kAdvancedTab);
    t.save();
}

void IconAfterOpenFile(KeyAssignmentTest& t) {
    t.setEntry({0x0A, 0, 0x41, 0});
    t.setRecord(AssignmentKind::OpenFile, {3, 0, 0x23, 2}, 0, u"/docs/x.txt");
    t.open();
    t.click(RowIcon(0));
    t.save();
}

void CancelledPicker(KeyAssignmentTest& t) {
    t.setRecord(AssignmentKind::PlayAudio, {3, 0, 0x23, 2}, 0, u"/music/a.mp3");
    t.open();
    ASSERT_EQ(t.click(RowBrowse(1)).browseRow, 1);
    ASSERT_FALSE(FinishBrowse(t.s, 1, std::nullopt));
    t.save();
}

void TooLongPath(KeyAssignmentTest& t) {
    t.open();
    t.click(kAdvancedTab);
    t.click(RowBrowse(0));
    ASSERT_FALSE(FinishBrowse(t.s, 0, std::u16string(256, u'x')));
    t.save();
}

TEST_F(KeyAssignmentTest, EncodesEachKindOfResult) {
    constexpr Entry kHostEntry{0x0A, 0, 0x41, 0};
    const std::vector<std::uint8_t> hostData{3, 0, 0x23, 2};
    const struct {
        const char* name;
        Showing run;
        Stored stored;
    } showings[] = {
        // clang-format off
        {"own code gives an empty record", Single(0x41), {kOwnEntryA, 0, {}, 0, u"", true, false}},
        {"another key", Single(0x42), {{0, 0, 0x05, 0}, 0, {0x42}, 1, u"", true, true}},
        {"media key 0x83", Single(0xB5), {{3, 0, 0x83, 1}, 0, {0xB5}, 1, u"", true, true}},
        {"play/pause", Single(0xB3), {{3, 0, 0xCD, 0}, 0, {0xB3}, 1, u"", true, true}},
        {"volume up", Single(0xAF), {{3, 0, 0xE9, 0}, 0, {0xAF}, 1, u"", true, true}},
        {"volume down", Single(0xAE), {{3, 0, 0xEA, 0}, 0, {0xAE}, 1, u"", true, true}},
        {"a one-key combination carries the code in entry byte 1",
         Combination({0x42}), {{0, 0x05, 0, 0}, 1, {0x42}, 1, u"", true, false}},
        {"three-key combination", Combination({0xA2, 0xA4, 0x2E}),
         {{0, 0xE0, 0xE2, 0x4C}, 1, {0xA2, 0xA4, 0x2E}, 3, u"", true, true}},
        {"Guardar on page 0 with nothing captured restores the key and applies the check box",
         NothingCapturedAndDisabled, {kOwnEntryA, 0, {}, 0, u"", false, true}},
        {"Guardar on page 1 without a macro restores the key and keeps it enabled",
         NoMacroSelected, {kOwnEntryA, 0, {}, 0, u"", true, false}},
        {"macro", SecondMacro, {{4, 1, 1, 0}, 2, {4, 1, 1, 0}, 0, u"", true, true}},
        {"function Vol-", Choose(u"Vol-"), {{3, 0, 0xEA, 0}, 3, {3, 0, 0xEA}, 0, u"", true, true}},
        {"function Reproductor multimedia", Choose(u"Reproductor multimedia"),
         {{3, 0, 0x83, 0x01}, 3, {3, 0, 0x83, 0x01}, 0, u"", true, true}},
        {"function Mi PC",
         Choose(u"Mi PC"), {{3, 0, 0x94, 0x01}, 3, {3, 0, 0x94, 0x01}, 0, u"", true, true}},
        {"function Página principal", Choose(u"Página principal"),
         {{3, 0, 0x23, 0x02}, 3, {3, 0, 0x23, 0x02}, 0, u"", true, true}},
        {"host action",
         BrowsedProgram, {kHostEntry, 5, hostData, 0, u"/opt/tools/run me", true, true}},
        {"Resetear re-enables the key and keeps an earlier path",
         ResetAfterAudio, {kOwnEntryA, 0, {}, 0, u"/music/a.mp3", true, false}},
        {"Avanzado opened and a row icon marked: nothing is encoded",
         AdvancedIconOnly, {{0, 0, 0x05, 0}, 255, {}, 1, u"", true, false}},
        {"Avanzado opened and saved without a row restores the key",
         AdvancedNothing, {kOwnEntryA, 0, {}, 0, u"", true, false}},
        {"an icon after opening a host action keeps its kind with an empty path",
         IconAfterOpenFile, {kHostEntry, 6, hostData, 0, u"", true, true}},
        {"a cancelled picker keeps the earlier choice",
         CancelledPicker, {kHostEntry, 4, hostData, 0, u"/music/a.mp3", true, true}},
        {"a path longer than the record holds is refused like a cancel",
         TooLongPath, {kOwnEntryA, 0, {}, 0, u"", true, false}},
        // clang-format on
    };
    for (const auto& row : showings) {
        SCOPED_TRACE(row.name);
        SetUp();
        config->customisedKeys[kKeyA] = 1; // the result replaces whatever was shown
        row.run(*this);
        ASSERT_TRUE(ApplyKeyAssignment(*config, s));
        const Stored& want = row.stored;
        EXPECT_EQ(entry(), want.entry);
        EXPECT_EQ(record().keyCode(), 0x41);
        EXPECT_EQ(record().kind(), want.kind);
        std::vector<std::uint8_t> data(record().kindData().begin(), record().kindData().end());
        std::vector<std::uint8_t> expected = want.data;
        expected.resize(data.size(), 0);
        EXPECT_EQ(data, expected);
        EXPECT_EQ(record().capturedCount(), want.count);
        EXPECT_EQ(record().path(), want.path);
        EXPECT_EQ(IsKeySlotEnabled(config->image, kSlotA), want.enabled);
        EXPECT_EQ(config->customisedKeys[kKeyA], want.customised ? 1 : 0);
    }
    s.keyIndex = kKeyCount;
    EXPECT_FALSE(ApplyKeyAssignment(*config, s));
}

TEST_F(KeyAssignmentTest, AMacroAssignmentConvertsEveryNamedMacro) {
    addMacros(3);
    for (std::size_t n = 0; n < 3; ++n) {
        config->macros[n].repeatCount = static_cast<std::uint16_t>(0x0100 + n);
        config->macros[n].deviceEvents[0] = static_cast<std::uint8_t>(0x81 + n);
    }
    open();
    ClickPage(s, record(), KeyMapPage::Macro);
    save({2, u""});
    ApplyKeyAssignment(*config, s);
    // Block n: repeat count big-endian, then the device stream; block 3 has no macro.
    for (std::size_t n = 0; n < 4; ++n) {
        const auto block = config->image.macroBlock(n);
        const std::vector<std::uint8_t> head(block.begin(), block.begin() + 3);
        const auto k = static_cast<std::uint8_t>(n);
        const std::vector<std::uint8_t> want =
            n < 3 ? std::vector<std::uint8_t>{1, k, static_cast<std::uint8_t>(0x81 + k)}
                  : std::vector<std::uint8_t>{0, 0, 0};
        EXPECT_EQ(head, want) << n;
    }
}

// ---- opening ----

TEST_F(KeyAssignmentTest, OpeningShowsTheStoredAssignment) {
    using P = KeyMapPage;
    using F = KeyMapFocus;
    using K = AssignmentKind;
    struct Row {
        K kind;
        std::vector<std::uint8_t> data;
        P page;
        F focus;
        std::u16string_view singleText, combinationText;
        std::uint8_t pendingKind;
        std::u16string_view chosenFunction;
        int macroSelection;
        std::uint8_t advancedRow;
    };
    // clang-format off
    const Row rows[] = {
        {K::SingleKey, {0x42}, P::Keys, F::SingleKeyEdit, u"B ", u"", 0, u"", -1, 255},
        {K::Combination, {0xA2, 0xA0, 0x53}, P::Keys, F::CombinationEdit, u"",
         u"LCtrl + LShift + S ", 1, u"", -1, 255},
        {K::Macro, {4, 1, 1, 0}, P::Macro, F::MacroList, u"", u"", 2, u"", 1, 255},
        {K::Macro, {4, 1, 5, 0}, P::Macro, F::MacroList, u"", u"", 2, u"", -1, 255}, // no macro 5
        {K::Function, {3, 0, 0xEA, 0}, P::Basic, F::None, u"", u"", 3, u"Vol-", -1, 255},
        {K::Function, {3, 0, 0xEA, 1}, P::Basic, F::None, u"", u"", 3, u"", -1, 255},
        {K::RunProgram, {3, 0, 0x23, 2}, P::Advanced, F::None, u"", u"", 5, u"", -1, 1},
        {K::OpenFolder, {3, 0, 0x23, 2}, P::Advanced, F::None, u"", u"", 7, u"", -1, 3},
        {K::Pending, {}, P::Keys, F::SingleKeyEdit, u"", u"", 255, u"", -1, 255},
    };
    // clang-format on
    addMacros(2);
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        SetUp();
        setRecord(row.kind, row.data, static_cast<std::uint8_t>(row.data.size()), u"/bin/tool");
        open();
        EXPECT_EQ(s.currentPage, row.page);
        EXPECT_EQ(s.focus, row.focus);
        EXPECT_EQ(s.singleKeyText, row.singleText);
        EXPECT_EQ(s.combinationText, row.combinationText);
        EXPECT_EQ(s.pendingKind, row.pendingKind);
        EXPECT_EQ(s.chosenFunction, row.chosenFunction);
        EXPECT_EQ(s.macroSelection, row.macroSelection);
        EXPECT_EQ(s.advancedRow, row.advancedRow);
        EXPECT_EQ(s.advancedMark, 255);
        EXPECT_EQ(s.chosenPath, row.advancedRow != 255 ? u"/bin/tool" : u"");
    }
    EXPECT_EQ(KeyMapCaption(s), u"Selected key:A ");
}

TEST_F(KeyAssignmentTest, OpeningAFunctionSelectsItAndExpandsItsGroup) {
    setRecord(AssignmentKind::Function, {3, 0, 0xEA, 0}, 0);
    open();
    const FunctionTreeChoice choice = TreeChoiceFor(s.chosenFunction);
    ASSERT_GE(choice.expandedGroupRow, 0);
    EXPECT_EQ(FunctionTable.at(static_cast<std::size_t>(choice.selectedRow)).label, u"Vol-");
    EXPECT_EQ(FunctionTable[static_cast<std::size_t>(choice.expandedGroupRow)].label,
              u"Multimedia");
}

// ---- capture and the edits' focus ----

TEST_F(KeyAssignmentTest, CaptureFollowsTheEditsAndTheLoadedRecord) {
    constexpr int kSingle = -1;      // the single-key edit gets the focus
    constexpr int kCombination = -2; // the combination edit gets the focus
    using K = AssignmentKind;
    struct Row {
        const char* name;
        K stored;
        std::vector<std::uint8_t> storedKeys;
        std::vector<int> steps; // key codes and focus changes
        std::vector<std::uint8_t> captured;
        std::u16string_view singleText, combinationText;
    };
    // clang-format off
    const Row rows[] = {
        {"each single key replaces the last", K::SingleKey, {}, {0x41, 0x42}, {0x42}, u"B ", u""},
        {"the first focus after opening keeps the loaded key", K::SingleKey, {0x42}, {kSingle},
         {0x42}, u"B ", u""},
        {"the next focus starts afresh", K::SingleKey, {0x42}, {kSingle, kSingle}, {}, u"B ", u""},
        {"the other edit starts a combination", K::SingleKey, {0x42}, {kCombination, 0xA2, 0x43},
         {0xA2, 0x43}, u"", u"LCtrl + C "},
        {"the first focus keeps a loaded combination", K::Combination, {0xA2, 0x43}, {kCombination},
         {0xA2, 0x43}, u"", u"LCtrl + C "},
        {"a new combination after opening drops the loaded keys", K::Combination,
         {0xA2, 0xA0, 0x43}, {0x44}, {0x44}, u"", u"D "},
        {"a fourth key starts over", K::Combination, {}, {kCombination, 0xA2, 0xA4, 0x2E, 0x41},
         {0x41}, u"", u"A "},
        {"a key the keyboard cannot send is not taken", K::SingleKey, {}, {0x41, 0xE2, 0x7C},
         {0x41}, u"A ", u""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        setRecord(row.stored, row.storedKeys, static_cast<std::uint8_t>(row.storedKeys.size()));
        open();
        for (const int step : row.steps) {
            if (step == kSingle)
                SingleKeyEditFocused(s);
            else if (step == kCombination)
                CombinationEditFocused(s);
            else
                CaptureKey(s, static_cast<std::uint8_t>(step));
        }
        std::vector<std::uint8_t> captured(row.captured);
        captured.resize(kCapturedKeysSize, 0);
        EXPECT_EQ(std::vector<std::uint8_t>(s.capturedKeys.begin(), s.capturedKeys.end()),
                  captured);
        EXPECT_EQ(s.singleKeyText, row.singleText);
        EXPECT_EQ(s.combinationText, row.combinationText);
    }
}

// ---- page changes, buttons, "Avanzado" rows ----

TEST_F(KeyAssignmentTest, PageChangesClearTheRecordInMemory) {
    setRecord(AssignmentKind::Combination, {0xA2, 0x43}, 2, u"/old/path");
    open();
    ClickPage(s, record(), KeyMapPage::Advanced);
    EXPECT_EQ(record().kind(), 255);
    EXPECT_TRUE(std::ranges::all_of(record().kindData(), [](auto b) { return b == 0; }));
    EXPECT_EQ(s.pendingKind, 255);
    EXPECT_EQ(s.capturedKeys[0], 0);

    setRecord(AssignmentKind::Combination, {0xA2, 0x43}, 2, u"/old/path");
    ClickPage(s, record(), KeyMapPage::Keys);
    EXPECT_EQ(record().kind(), 0);
    EXPECT_EQ(record().capturedCount(), 0);
    EXPECT_TRUE(std::ranges::all_of(record().kindData(), [](auto b) { return b == 0; }));
    EXPECT_EQ(record().path(), u"/old/path");

    // A click on the page already shown changes nothing in the record.
    setRecord(AssignmentKind::Combination, {0xA2, 0x43}, 2);
    ClickPage(s, record(), KeyMapPage::Keys);
    EXPECT_EQ(record().kind(), 1);
}

TEST_F(KeyAssignmentTest, AdvancedRowsMarkTheirIconAndKeepAChosenPath) {
    open();
    click(kAdvancedTab);
    click(RowIcon(2)); // marks the row and keeps the kind
    EXPECT_EQ(s.advancedMark, 8);
    EXPECT_EQ(s.pendingKind, 255);
    EXPECT_EQ(click(RowBrowse(3)).browseRow, 3);
    EXPECT_EQ(s.advancedMark, 12);
    ASSERT_TRUE(FinishBrowse(s, 3, u"/home/user/Music"));
    click(kFreeSpot);    // with a path chosen a free spot changes nothing
    click(kAdvancedTab); // the tab of the page shown only clears the mark
    EXPECT_EQ(s.advancedMark, 255);
    EXPECT_EQ(s.pendingKind, 7);
    EXPECT_EQ(s.chosenPath, u"/home/user/Music");
}

TEST_F(KeyAssignmentTest, LeavingAvanzadoForTheKeysPageLeavesCaptureWorking) {
    open();
    click(kAdvancedTab);
    EXPECT_FALSE(CaptureKey(s, 0x42));
    click(kKeysTab);
    EXPECT_EQ(s.focus, KeyMapFocus::SingleKeyEdit);
    EXPECT_TRUE(CaptureKey(s, 0x42));
    EXPECT_EQ(s.singleKeyText, u"B ");
}

TEST_F(KeyAssignmentTest, BasicPageRefusesAnythingButAFunction) {
    open();
    ClickPage(s, record(), KeyMapPage::Basic);
    for (const std::u16string_view label :
         {u"Multimedia", u"Tecla de acceso rápido", u"Windows", u""}) {
        EXPECT_EQ(click(kSaveButton, {-1, std::u16string(label)}).outcome,
                  KeyMapOutcome::SelectSubItem);
        EXPECT_EQ(s.currentPage, KeyMapPage::Basic);
    }
    EXPECT_EQ(click(kSaveButton, {-1, u"Guardar"}).outcome, KeyMapOutcome::Ok);
    EXPECT_EQ(s.chosenFunction, u"Guardar");
}

TEST_F(KeyAssignmentTest, CloseButtonsCancel) {
    open();
    CaptureKey(s, 0x42);
    EXPECT_EQ(click({310, 10}).outcome, KeyMapOutcome::Cancel);
    EXPECT_EQ(click({230, 255}).outcome, KeyMapOutcome::Cancel);
    EXPECT_EQ(s.capturedKeys[0], 0);
    EXPECT_EQ(s.capturedCount, 0);
}

TEST(KeyMapLayout, ButtonHitTest) {
    struct Row {
        Point p;
        int button;
    };
    const Row rows[] = {
        {{302, 5}, 0},    {{320, 23}, 0},  {{321, 23}, -1}, {{0, 28}, 1},    {{94, 55}, 1},
        {{85, 40}, 1},    {{95, 40}, 2},   {{174, 40}, 2},  {{254, 40}, 3},  {{334, 55}, 4},
        {{300, 33}, 4},   {{330, 33}, 4},  {{19, 251}, 6},  {{14, 246}, 6},  {{34, 265}, 6},
        {{13, 251}, -1},  {{35, 265}, -1}, {{156, 246}, 7}, {{197, 268}, 7}, {{198, 268}, -1},
        {{210, 246}, 8},  {{251, 268}, 8}, {{264, 246}, 9}, {{305, 268}, 9}, {{306, 268}, -1},
        {{150, 150}, -1}, {{100, 60}, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(HitTestKeyMapButton(r.p), r.button) << r.p.x << "," << r.p.y;
}

TEST(KeyMapLayout, AdvancedRowHitTest) {
    struct Row {
        Point p;
        AdvancedHit hit;
    };
    using A = AdvancedArea;
    const Row rows[] = {
        {{3, 85}, {0, A::Icon}},        {{13, 94}, {0, A::Icon}},     {{14, 94}, {-1, A::None}},
        {{15, 81}, {0, A::Label}},      {{246, 106}, {0, A::Label}},  {{100, 85}, {0, A::Label}},
        {{100, 80}, {0, A::PathField}}, {{265, 79}, {0, A::Browse}},  {{325, 104}, {0, A::Browse}},
        {{255, 90}, {-1, A::None}},     {{8, 130}, {1, A::Icon}},     {{290, 160}, {2, A::Browse}},
        {{50, 210}, {3, A::Label}},     {{290, 224}, {3, A::Browse}}, {{290, 225}, {-1, A::None}},
        {{290, 110}, {-1, A::None}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(HitTestAdvancedRows(r.p), r.hit) << r.p.x << "," << r.p.y;
}

TEST(KeyMapLayout, OnlyTheButtonUnderThePointerShowsItsOverImage) {
    KeyMapHover hover;
    struct Step {
        int button;
        bool changed;
        int over; // the one button flagged, -1 for none
    };
    for (const Step& step : {Step{9, true, 9}, Step{9, false, 9}, Step{-1, true, -1},
                             Step{7, true, 7}, Step{8, true, 8}, Step{6, true, -1}}) {
        EXPECT_EQ(UpdateKeyMapHover(hover, step.button), step.changed);
        for (std::size_t b = 0; b < kKeyMapButtonCount; ++b)
            EXPECT_EQ(hover.over[b], static_cast<int>(b) == step.over) << b;
    }
}

TEST(KeyAssignment, KeysThatNeverOpenTheDialog) {
    for (int key = -1; key <= 121; ++key) {
        const bool never =
            key < 0 || key > 120 || key == 17 || key == 18 || key == 19 || key == 95 || key == 102;
        EXPECT_EQ(OpensKeyAssignment(key), !never) << key;
    }
}

} // namespace
} // namespace orvo
