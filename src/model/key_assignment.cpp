#include "model/key_assignment.h"

#include <algorithm>

#include "model/function_table.h"
#include "model/host_actions.h"
#include "model/key_map_layout.h"
#include "model/key_tables.h"
#include "model/log.h"
#include "model/macro_model.h"
#include "model/utf16.h"

namespace orvo {

namespace {

constexpr std::u16string_view kCaptionPrefix = u"Selected key:";
constexpr std::u16string_view kNameJoiner = u"+ ";
constexpr std::size_t kShownCombinationKeys = 3; // record bytes 2..4 on opening

// A macro record's kind data: entry type 4, 1, macro number, 0.
constexpr std::uint8_t kMacroEntryType = static_cast<std::uint8_t>(KeyMapEntryType::Macro);
constexpr std::uint8_t kMacroEntryFlag = 1;

constexpr std::uint8_t Kind(AssignmentKind k) {
    return static_cast<std::uint8_t>(k);
}

void ClearCapture(KeyAssignmentState& s) {
    s.capturedKeys.fill(0);
    s.capturedCount = 0;
}

std::size_t LeadingKeys(std::span<const std::uint8_t> keys) {
    return static_cast<std::size_t>(std::ranges::find(keys, std::uint8_t{0}) - keys.begin());
}

} // namespace

bool OpensKeyAssignment(int keyIndex) {
    if (keyIndex < 0 || static_cast<std::size_t>(keyIndex) >= kKeyCount)
        return false;
    return std::ranges::find(kKeysWithoutAssignment, static_cast<std::size_t>(keyIndex)) ==
           kKeysWithoutAssignment.end();
}

std::u16string KeyMapCaption(const KeyAssignmentState& state) {
    std::u16string caption(kCaptionPrefix);
    caption += KeyNameOf(state.defaultCode);
    return caption;
}

std::u16string CombinationText(std::span<const std::uint8_t> keyCodes) {
    std::u16string text;
    for (std::size_t i = 0; i < LeadingKeys(keyCodes); ++i) {
        if (i > 0)
            text += kNameJoiner;
        text += KeyNameOf(keyCodes[i]);
    }
    return text;
}

void OpenKeyAssignment(KeyAssignmentState& state, const ConfigState& config, std::size_t keyIndex) {
    state = KeyAssignmentState{};
    KeyAssignmentState& s = state;
    s.keyIndex = keyIndex;
    if (keyIndex >= kKeyCount)
        return;
    const KeyActionRecord& record = config.keyActions[keyIndex];
    const auto data = record.kindData();
    s.defaultCode = DefaultCodeOf(keyIndex);
    s.macroCount = std::min(config.macros.leadingMacroCount(), kMaxMacros);

    if (record.kind() == Kind(AssignmentKind::Function)) {
        if (const FunctionRow* f = FindFunctionByEntry(data.first<4>()))
            s.chosenFunction = f->label;
    }
    s.pendingKind = record.kind();
    s.capturedCount = record.capturedCount();

    switch (static_cast<AssignmentKind>(record.kind())) {
    case AssignmentKind::SingleKey:
    case AssignmentKind::Combination:
        // The focus the edit gets now finds nothing loaded; the captured keys come from the
        // record afterwards, so the edit's next focus keeps them.
        if (record.kind() == Kind(AssignmentKind::SingleKey)) {
            s.singleKeyText = KeyNameOf(data[0]);
            s.focus = KeyMapFocus::SingleKeyEdit;
            SingleKeyEditFocused(s);
        } else {
            s.combinationText = CombinationText(data.first<kShownCombinationKeys>());
            s.focus = KeyMapFocus::CombinationEdit;
            CombinationEditFocused(s);
        }
        std::ranges::copy(data, s.capturedKeys.begin());
        s.recordLoaded = true;
        break;
    case AssignmentKind::Macro:
        if (data[0] == kMacroEntryType) {
            s.currentPage = KeyMapPage::Macro;
            s.focus = KeyMapFocus::MacroList;
            if (data[2] < s.macroCount)
                s.macroSelection = data[2];
        } else {
            s.focus = KeyMapFocus::SingleKeyEdit;
        }
        break;
    case AssignmentKind::Function:
        s.currentPage = KeyMapPage::Basic;
        break;
    case AssignmentKind::PlayAudio:
    case AssignmentKind::RunProgram:
    case AssignmentKind::OpenFile:
    case AssignmentKind::OpenFolder:
        s.currentPage = KeyMapPage::Advanced;
        s.chosenPath = record.path();
        s.advancedRow = static_cast<std::uint8_t>(record.kind() - Kind(AssignmentKind::PlayAudio));
        break;
    default:
        // Nothing chosen yet: the single key is the first thing to offer.
        s.focus = KeyMapFocus::SingleKeyEdit;
        break;
    }

    s.keyEnabled = IsKeySlotEnabled(config.image, SlotOf(keyIndex));
    s.disableChecked = !s.keyEnabled;
}

void SingleKeyEditFocused(KeyAssignmentState& s) {
    if (!s.recordLoaded || s.pendingKind != Kind(AssignmentKind::SingleKey)) {
        s.pendingKind = Kind(AssignmentKind::SingleKey);
        ClearCapture(s);
        s.combinationText.clear();
    } else {
        s.recordLoaded = false;
    }
}

void CombinationEditFocused(KeyAssignmentState& s) {
    if (s.recordLoaded && s.pendingKind == Kind(AssignmentKind::Combination)) {
        s.recordLoaded = false;
    } else {
        s.pendingKind = Kind(AssignmentKind::Combination);
        ClearCapture(s);
        s.singleKeyText.clear();
    }
}

bool CaptureKey(KeyAssignmentState& s, std::uint8_t keyCode) {
    // A key without a device code would leave the key doing nothing at all.
    if (DeviceCodeOf(keyCode) == 0)
        return false;
    if (s.pendingKind == Kind(AssignmentKind::SingleKey)) {
        ClearCapture(s);
        s.capturedKeys[0] = keyCode;
        s.capturedCount = 1;
        s.singleKeyText = KeyNameOf(keyCode);
        return true;
    }
    if (s.pendingKind != Kind(AssignmentKind::Combination))
        return false;
    // A full combination starts over; so does the first key after opening, whose loaded keys
    // the edit no longer shows. Either way no earlier key may survive behind the new ones.
    if (s.capturedCount >= kMaxCombinationKeys)
        s.capturedCount = 0;
    if (s.capturedCount == 0)
        s.capturedKeys.fill(0);
    s.capturedKeys[s.capturedCount] = keyCode;
    ++s.capturedCount;
    s.combinationText = CombinationText(std::span(s.capturedKeys).first(s.capturedCount));
    return true;
}

void ClickPage(KeyAssignmentState& s, KeyActionRecord& record, KeyMapPage page) {
    const bool fromOtherPage = s.currentPage != page;
    switch (page) {
    case KeyMapPage::Keys:
        s.advancedMark = kNoAdvancedRow;
        if (fromOtherPage) {
            ClearCapture(s);
            s.singleKeyText.clear();
            s.combinationText.clear();
            record.clearAssignment();
            s.pendingKind = Kind(AssignmentKind::SingleKey);
            s.focus = KeyMapFocus::SingleKeyEdit;
            SingleKeyEditFocused(s);
        }
        s.advancedRow = kNoAdvancedRow;
        break;
    case KeyMapPage::Macro:
    case KeyMapPage::Basic:
        // The working kind takes the page's number here and the page's own kind on "Guardar".
        s.pendingKind = static_cast<std::uint8_t>(page);
        s.advancedRow = s.advancedMark = kNoAdvancedRow;
        break;
    case KeyMapPage::Advanced:
        s.advancedMark = kNoAdvancedRow;
        if (fromOtherPage) {
            ClearCapture(s);
            record.setKind(AssignmentKind::Pending);
            std::ranges::fill(record.kindData(), std::uint8_t{0});
            s.singleKeyText.clear();
            s.combinationText.clear();
            s.pendingKind = Kind(AssignmentKind::Pending);
            s.advancedRow = kNoAdvancedRow;
        }
        break;
    }
    s.currentPage = page;
}

void ToggleDisable(KeyAssignmentState& s) {
    s.disableChecked = !s.disableChecked;
}

KeyMapOutcome ClickReset(KeyAssignmentState& s) {
    s.capturedCount = kResetCount;
    return KeyMapOutcome::Ok;
}

KeyMapOutcome ClickCancel(KeyAssignmentState& s) {
    ClearCapture(s);
    return KeyMapOutcome::Cancel;
}

KeyMapOutcome ClickSave(KeyAssignmentState& s, const KeyMapSelections& selections) {
    switch (s.currentPage) {
    case KeyMapPage::Keys:
        s.keyEnabled = !s.disableChecked;
        s.capturedCount = static_cast<std::uint8_t>(LeadingKeys(s.capturedKeys));
        if (s.capturedCount == 0)
            s.pendingKind = Kind(AssignmentKind::Default);
        return KeyMapOutcome::Ok;
    case KeyMapPage::Macro:
        s.pendingKind = Kind(AssignmentKind::Macro);
        s.chosenMacro = selections.macroRow;
        if (s.chosenMacro < 0 || static_cast<std::size_t>(s.chosenMacro) >= s.macroCount) {
            // No macro: the key gets its own function back, and stays usable.
            s.chosenMacro = -1;
            s.keyEnabled = true;
            s.pendingKind = Kind(AssignmentKind::Default);
        } else {
            s.keyEnabled = !s.disableChecked;
        }
        return KeyMapOutcome::Ok;
    case KeyMapPage::Basic:
        s.pendingKind = Kind(AssignmentKind::Function);
        s.chosenFunction = selections.functionLabel;
        LogTrace(ToUtf8(s.chosenFunction));
        // A group, or nothing at all, names no function: saving it would leave the key's old
        // entry in force under a record that no longer describes it.
        if (FindFunctionByLabel(s.chosenFunction) == nullptr)
            return KeyMapOutcome::SelectSubItem;
        s.keyEnabled = !s.disableChecked;
        return KeyMapOutcome::Ok;
    case KeyMapPage::Advanced:
        s.keyEnabled = !s.disableChecked;
        return KeyMapOutcome::Ok;
    }
    return KeyMapOutcome::Stay;
}

void ClickAdvancedIcon(KeyAssignmentState& s, std::size_t row) {
    if (row >= kAdvancedRowCount)
        return;
    s.advancedMark = static_cast<std::uint8_t>(kAdvancedMarkStep * row);
    s.advancedRow = static_cast<std::uint8_t>(row);
    s.chosenPath.clear();
}

void ClickAdvancedBrowse(KeyAssignmentState& s, std::size_t row) {
    if (row < kAdvancedRowCount)
        s.advancedMark = static_cast<std::uint8_t>(kAdvancedMarkStep * row);
}

void ClickAdvancedElsewhere(KeyAssignmentState& s) {
    if (s.advancedRow != kNoAdvancedRow)
        return;
    s.advancedMark = kNoAdvancedRow;
    s.pendingKind = Kind(AssignmentKind::Default);
}

bool FinishBrowse(KeyAssignmentState& s, std::size_t row,
                  const std::optional<std::u16string>& path) {
    if (row >= kAdvancedRowCount || !path || CheckChosenPath(*path) != ChosenPathCheck::Ok)
        return false;
    s.chosenPath = *path;
    s.advancedRow = static_cast<std::uint8_t>(row);
    s.pendingKind = Kind(AdvancedRowTable[row].kind);
    return true;
}

KeyMapClick ClickKeyMap(KeyAssignmentState& s, KeyActionRecord& record, Point p,
                        const KeyMapSelections& selections) {
    const bool onAdvancedPage = s.currentPage == KeyMapPage::Advanced;
    KeyMapClick click;
    switch (static_cast<KeyMapButton>(HitTestKeyMapButton(p))) {
    case KeyMapButton::Close:
        click.outcome = KeyMapOutcome::Cancel;
        break;
    case KeyMapButton::PageKeys:
        ClickPage(s, record, KeyMapPage::Keys);
        break;
    case KeyMapButton::PageMacro:
        ClickPage(s, record, KeyMapPage::Macro);
        break;
    case KeyMapButton::PageBasic:
        ClickPage(s, record, KeyMapPage::Basic);
        break;
    case KeyMapButton::PageAdvanced:
        ClickPage(s, record, KeyMapPage::Advanced);
        break;
    case KeyMapButton::Disable:
        ToggleDisable(s);
        break;
    case KeyMapButton::Reset:
        click.outcome = ClickReset(s);
        break;
    case KeyMapButton::Cancel:
        click.outcome = ClickCancel(s);
        break;
    case KeyMapButton::Save:
        click.outcome = ClickSave(s, selections);
        break;
    default: // the page strip and free spots
        break;
    }
    // Only a click that starts and ends on the "Avanzado" page reaches its rows: a page change
    // is no choice on that page.
    if (!onAdvancedPage || s.currentPage != KeyMapPage::Advanced)
        return click;
    const AdvancedHit hit = HitTestAdvancedRows(p);
    const auto row = static_cast<std::size_t>(hit.row);
    if (hit.area == AdvancedArea::Icon) {
        ClickAdvancedIcon(s, row);
    } else if (hit.area == AdvancedArea::Browse) {
        ClickAdvancedBrowse(s, row);
        click.browseRow = hit.row;
    } else {
        ClickAdvancedElsewhere(s);
    }
    return click;
}

// ---- result -----------------------------------------------------------------------------

namespace {

void SetEntry(std::span<std::uint8_t, kKeyMapEntrySize> entry, FunctionEntryBytes bytes) {
    std::ranges::copy(bytes, entry.begin());
}

// A single key's entry: its device code, except the media codes the keyboard only sends as
// Consumer usages (0x83 is the low byte of usage 0x0183).
FunctionEntryBytes SingleKeyEntry(std::uint8_t keyCode) {
    constexpr std::uint8_t kConsumer = static_cast<std::uint8_t>(KeyMapEntryType::Consumer);
    const std::uint8_t device = DeviceCodeOf(keyCode);
    switch (device) {
    case 0x83:
        return {kConsumer, 0, device, 0x01};
    case 0xCD:
    case 0xE9:
    case 0xEA:
        return {kConsumer, 0, device, 0};
    default:
        return {0, 0, device, 0};
    }
}

// Encodes one result into the entry and the record; returns the key's customised flag.
bool Encode(ConfigState& config, const KeyAssignmentState& s,
            std::span<std::uint8_t, kKeyMapEntrySize> entry, KeyActionRecord& r) {
    if (s.capturedCount == kResetCount || s.pendingKind == Kind(AssignmentKind::Default)) {
        r.clearAssignment(); // the path stays
        SetEntry(entry, {0, 0, DeviceCodeOf(r.keyCode()), 0});
        return false;
    }
    const std::uint8_t ownCode = DefaultCodeOf(s.keyIndex);
    switch (static_cast<AssignmentKind>(s.pendingKind)) {
    case AssignmentKind::SingleKey: {
        r.clearAssignment();
        r.setKind(AssignmentKind::SingleKey);
        std::ranges::copy(s.capturedKeys, r.kindData().begin());
        r.setCapturedCount(s.capturedCount);
        if (s.capturedCount != 1)
            return true;
        SetEntry(entry, SingleKeyEntry(s.capturedKeys[0]));
        if (s.capturedKeys[0] != ownCode)
            return true;
        r.clearAssignment(); // the key's own code is no assignment
        return false;
    }
    case AssignmentKind::Combination: {
        r.clearAssignment();
        r.setKind(AssignmentKind::Combination);
        std::ranges::copy(s.capturedKeys, r.kindData().begin());
        r.setCapturedCount(s.capturedCount);
        const auto& k = s.capturedKeys;
        SetEntry(entry, {0, DeviceCodeOf(k[0]), DeviceCodeOf(k[1]), DeviceCodeOf(k[2])});
        return s.capturedCount > 1;
    }
    case AssignmentKind::Macro: {
        const auto number = static_cast<std::uint8_t>(s.chosenMacro);
        const FunctionEntryBytes bytes{kMacroEntryType, kMacroEntryFlag, number, 0};
        r.clearAssignment();
        r.setKind(AssignmentKind::Macro);
        std::ranges::copy(bytes, r.kindData().begin());
        if (s.chosenMacro < 0 || static_cast<std::size_t>(s.chosenMacro) >= kMaxMacros)
            return false;
        SetEntry(entry, bytes);
        BuildMacroBlocks(config.macros, config.image);
        return true;
    }
    case AssignmentKind::Function: {
        const FunctionRow* f = FindFunctionByLabel(s.chosenFunction);
        if (f == nullptr)
            return false; // nothing to encode; "Guardar" refuses this
        r.clearAssignment();
        r.setKind(AssignmentKind::Function);
        std::ranges::copy(f->entry, r.kindData().begin());
        SetEntry(entry, f->entry);
        return true;
    }
    case AssignmentKind::PlayAudio:
    case AssignmentKind::RunProgram:
    case AssignmentKind::OpenFile:
    case AssignmentKind::OpenFolder:
        r.clearAssignment();
        r.setKeyCode(ownCode);
        r.setKind(s.pendingKind);
        std::ranges::copy(kHostActionKindData, r.kindData().begin());
        r.setPath(s.chosenPath);
        // The keyboard reports the key by its own code; the host looks the record up by it.
        SetEntry(entry,
                 {static_cast<std::uint8_t>(KeyMapEntryType::HostAction), 0, r.keyCode(), 0});
        return true;
    default:
        // "Avanzado" opened and no path chosen: entry and record stay as they are.
        return false;
    }
}

} // namespace

bool ApplyKeyAssignment(ConfigState& config, const KeyAssignmentState& s) {
    if (s.keyIndex >= kKeyCount)
        return false;
    const std::size_t slot = SlotOf(s.keyIndex);
    bool customised =
        Encode(config, s, KeyMapEntry(config.image, slot), config.keyActions[s.keyIndex]);
    // "Resetear" gives the key back all of its own function, the enable bit included.
    const bool enabled = s.keyEnabled || s.capturedCount == kResetCount;
    SetKeySlotEnabled(config.image, slot, enabled);
    if (!enabled)
        customised = true;
    config.customisedKeys[s.keyIndex] = customised ? 1 : 0;
    return true;
}

} // namespace orvo
