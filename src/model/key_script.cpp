#include "model/key_script.h"

#include "model/function_table.h"
#include "model/key_tables.h"
#include "model/utf16.h"

namespace orvo {

namespace {

// The page's own choice as the dialog shows it when "Guardar" is clicked without a change.
KeyMapSelections Shown(const KeyAssignmentState& s) {
    return {s.macroSelection, s.chosenFunction};
}

std::string Capture(KeyAssignmentState& s, const std::vector<std::uint8_t>& keys) {
    for (const std::uint8_t key : keys) {
        if (!CaptureKey(s, key))
            return "\"" + ToUtf8(KeyNameOf(key)) + "\" is no key the keyboard can send";
    }
    return {};
}

std::string Save(KeyAssignmentState& s, const KeyMapSelections& selections) {
    switch (ClickSave(s, selections)) {
    case KeyMapOutcome::Ok:
        return {};
    case KeyMapOutcome::SelectSubItem:
        return "a group of functions cannot be assigned";
    default:
        return "the assignment was not accepted";
    }
}

} // namespace

KeyScriptResult ScriptKeyAssignment(const ConfigState& config, std::size_t keyIndex,
                                    const KeyChoice& choice) {
    KeyScriptResult r;
    if (!OpensKeyAssignment(static_cast<int>(keyIndex))) {
        r.error = "this key cannot be reassigned";
        return r;
    }
    KeyAssignmentState& s = r.state;
    OpenKeyAssignment(s, config, keyIndex);
    r.record = config.keyActions[keyIndex];
    switch (choice.kind) {
    case KeyChoiceKind::Key:
    case KeyChoiceKind::Combination: {
        if (s.currentPage != KeyMapPage::Keys)
            ClickPage(s, r.record, KeyMapPage::Keys);
        if (choice.kind == KeyChoiceKind::Key)
            SingleKeyEditFocused(s);
        else
            CombinationEditFocused(s);
        r.error = Capture(s, choice.keys);
        if (r.error.empty())
            r.error = Save(s, {});
        break;
    }
    case KeyChoiceKind::Macro:
        ClickPage(s, r.record, KeyMapPage::Macro);
        if (choice.macro < 0 || static_cast<std::size_t>(choice.macro) >= s.macroCount)
            r.error = "there is no macro " + std::to_string(choice.macro);
        else
            r.error = Save(s, {choice.macro, {}});
        break;
    case KeyChoiceKind::Function:
        ClickPage(s, r.record, KeyMapPage::Basic);
        r.error = Save(s, {-1, choice.function});
        break;
    case KeyChoiceKind::HostAction: {
        ClickPage(s, r.record, KeyMapPage::Advanced);
        const std::size_t row = static_cast<std::size_t>(choice.hostKind) -
                                static_cast<std::size_t>(AssignmentKind::PlayAudio);
        ClickAdvancedBrowse(s, row);
        if (!FinishBrowse(s, row, choice.path))
            r.error = choice.path.empty() ? "the path is empty" : "the path is too long";
        else
            r.error = Save(s, {});
        break;
    }
    case KeyChoiceKind::Disable:
    case KeyChoiceKind::Enable:
        if (s.disableChecked != (choice.kind == KeyChoiceKind::Disable))
            ToggleDisable(s);
        // "Guardar" on the page the key opened with keeps what it holds; a macro that is gone
        // would give the key its own function back instead.
        if (s.currentPage == KeyMapPage::Macro && s.macroSelection < 0)
            r.error = "the key's macro no longer exists; assign it anew";
        else
            r.error = Save(s, Shown(s));
        break;
    case KeyChoiceKind::Reset:
        ClickReset(s);
        break;
    }
    return r;
}

} // namespace orvo
