#include "model/macro_editor.h"

#include <algorithm>
#include <utility>

#include "model/key_tables.h"

namespace orvo {

namespace {

// A recorded delay comes from the clock in whole milliseconds, remainders dropped.
std::uint16_t DelaySince(std::chrono::steady_clock::time_point from,
                         std::chrono::steady_clock::time_point to) {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
    const auto millis = std::max<std::int64_t>(micros, 0) / 1000;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(millis, kMaxEventDelay));
}

std::u16string KeyLine(std::uint8_t keyCode, bool released) {
    std::u16string line(KeyNameOf(keyCode));
    line += released ? kReleaseLineMark : kPressLineMark;
    return line;
}

// The integer value of a text's leading digits, as the repeat count edit reads it.
unsigned LeadingNumber(std::u16string_view text) {
    unsigned value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + static_cast<unsigned>(c - u'0');
        if (value > kMaxRepeatCount)
            return kMaxRepeatCount;
    }
    return value;
}

std::u16string NumberText(unsigned value) {
    std::u16string text;
    for (const char c : std::to_string(value))
        text += static_cast<char16_t>(c);
    return text;
}

// Named slots first, in their order, so that list positions and slot numbers agree even for
// a file with free slots between named ones.
void PackNamedSlots(MacroStore& store) {
    std::size_t next = 0;
    for (std::size_t n = 0; n < MacroStore::size(); ++n) {
        if (store[n].isFree())
            continue;
        if (n != next) {
            store[next] = store[n];
            store[n] = MacroRecord{};
        }
        ++next;
    }
}

} // namespace

MacroEditor::MacroEditor(Clock clock) : m_clock(std::move(clock)) {}

std::u16string_view MacroEditor::recordButtonText() const {
    return m_recording ? kStopRecordingText : kStartRecordingText;
}

// ---- Opening and closing ------------------------------------------------------------------

void MacroEditor::open(const MacroStore& store) {
    m_work = store;
    m_origins.clear();
    m_openedSlots = 0;
    for (std::size_t slot = 0; slot < MacroStore::size(); ++slot) {
        if (store[slot].isFree())
            continue;
        m_origins.emplace_back(slot);
        m_openedSlots = slot + 1;
    }
    PackNamedSlots(m_work);
    m_lastEventText.clear();
    m_hookInstalled = false;
    m_delayOption = false;
    m_loopOption = false;
    m_recording = false;
    m_insertMode = false;
    m_names.clear();
    for (const MacroRecord& slot : m_work) {
        if (!slot.isFree())
            m_names.push_back(slot.name());
    }
    m_selectedMacro.reset();
    m_device.fill(0);
    m_display.fill(0);
    m_repeatText = u"1";
    relist();
    if (!m_names.empty())
        selectMacro(0);
}

void MacroEditor::accept(MacroStore& store) {
    m_hookInstalled = false;
    m_recording = false;
    m_insertMode = false;
    if (m_loopOption && m_selectedMacro)
        m_work[*m_selectedMacro].repeatCount = repeatValue();
    store = m_work;
}

MacroRenumbering MacroEditor::renumbering() const {
    MacroRenumbering renumbering(m_openedSlots); // what is not found below was deleted
    for (std::size_t position = 0; position < m_origins.size(); ++position) {
        if (m_origins[position])
            renumbering[*m_origins[position]] = position;
    }
    return renumbering;
}

void MacroEditor::dismiss() {
    m_hookInstalled = false;
    m_recording = false;
    m_insertMode = false;
}

// ---- The macro list -----------------------------------------------------------------------

void MacroEditor::selectMacro(std::optional<std::size_t> index) {
    if (index && *index >= m_names.size())
        index.reset();
    const bool changed = index != m_selectedMacro;
    m_selectedMacro = index;
    if (!index)
        return;
    if (changed && m_insertMode)
        endInsertion();
    showSelectedMacro();
}

void MacroEditor::showSelectedMacro() {
    if (!m_selectedMacro)
        return;
    const MacroRecord& macro = m_work[*m_selectedMacro];
    m_delayOption = macro.delayOption();
    if (macro.repeatCount == 0) {
        m_loopOption = false; // never committed: plays once
        m_repeatText = u"1";
    } else {
        m_loopOption = macro.repeatCount != 1;
        m_repeatText = NumberText(macro.repeatCount);
    }
    loadStreams(macro);
    m_selectedLine.reset();
}

void MacroEditor::loadStreams(const MacroRecord& macro) {
    m_device = macro.deviceEvents;
    m_display = macro.displayEvents;
    // The end of the last event: a long event's delay high byte may be 0, so the first zero
    // byte is not the end.
    m_writePos = EventStreamEnd(m_device);
    relist();
}

void MacroEditor::newMacro() {
    if (m_names.size() >= kMaxMacros)
        return;
    const std::u16string name = NewMacroName(m_names);
    m_names.push_back(name);
    m_origins.emplace_back();
    const std::size_t n = m_names.size() - 1;
    m_selectedMacro = n;
    // Slots from n on move up one to make room (the last slot falls off); with packed slots
    // they are all free.
    for (std::size_t slot = MacroStore::size() - 1; slot > n; --slot)
        m_work[slot] = m_work[slot - 1];
    m_work[n] = MacroRecord{};
    m_work[n].setName(name);
    m_device.fill(0);
    m_display.fill(0);
    m_writePos = 0;
    relist();
    m_selectedLine.reset();
    m_recording = false;
    m_delayOption = false;
    m_loopOption = false;
    m_insertMode = false;
    m_hookInstalled = false;
    m_repeatText = u"1";
}

Notice MacroEditor::deleteMacro(const Confirm& confirm) {
    if (!confirm || !confirm({kConfirmDeleteMacroText, kMacroCaption}))
        return {};
    if (!m_selectedMacro)
        return {kNoMacroToDeleteText, kMacroCaption};
    const std::size_t s = *m_selectedMacro;
    m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(s));
    m_origins.erase(m_origins.begin() + static_cast<std::ptrdiff_t>(s));
    m_lines.clear();
    m_selectedLine.reset();
    const std::size_t count = m_work.leadingMacroCount();
    for (std::size_t slot = s; slot + 1 < MacroStore::size(); ++slot)
        m_work[slot] = m_work[slot + 1];
    if (count > 0)
        m_work[count - 1] = MacroRecord{};
    m_hookInstalled = false;
    m_recording = false;
    m_insertMode = false;
    m_selectedMacro.reset();
    if (count >= 2)
        selectMacro(std::min(s, count - 2));
    return {};
}

Notice MacroEditor::renameMacro(std::size_t index, std::u16string_view name) {
    if (index >= m_names.size())
        return {};
    MacroRecord renamed;
    renamed.setName(name); // cut at a NUL and to 254 characters
    if (renamed.isFree())
        return {kEmptyMacroNameText, kMacroCaption};
    m_names[index] = renamed.name();
    m_work[index].setName(m_names[index]);
    return {};
}

// ---- Options ------------------------------------------------------------------------------

Notice MacroEditor::toggleRecording() {
    if (!m_selectedMacro)
        return {kNoMacroToRecordText, kMacroCaption};
    m_recording = !m_recording;
    if (m_recording) {
        m_hookInstalled = true;
        m_insertMode = false; // a new recording replaces the events an insertion pointed into
        m_device.fill(0);
        m_display.fill(0);
        m_writePos = 0;
        m_lastEventText.clear();
        relist();
        m_selectedLine.reset();
        MacroRecord& slot = m_work[*m_selectedMacro];
        slot.deviceEvents.fill(0);
        slot.displayEvents.fill(0);
    } else {
        releaseHook();
        m_insertMode = false; // without the hook a pending insertion can never finish
    }
    return {};
}

void MacroEditor::toggleDelayOption() {
    m_delayOption = !m_delayOption;
}

void MacroEditor::toggleLoopOption() {
    m_loopOption = !m_loopOption;
    if (!m_loopOption)
        editRepeatText(u"1"); // the macro plays once again
}

const std::u16string& MacroEditor::editRepeatText(std::u16string_view text) {
    text = text.substr(0, kRepeatTextMaxLength);
    setRepeatText(LeadingNumber(text) == 0 ? std::u16string(u"1") : std::u16string(text));
    if (m_selectedMacro)
        m_work[*m_selectedMacro].repeatCount = repeatValue();
    return m_repeatText;
}

void MacroEditor::setRepeatText(std::u16string text) {
    m_repeatText = std::move(text);
}

std::uint16_t MacroEditor::repeatValue() const {
    return static_cast<std::uint16_t>(std::max(LeadingNumber(m_repeatText), 1u));
}

// ---- Key strokes --------------------------------------------------------------------------

void MacroEditor::hookEvent(std::uint8_t keyCode, bool released) {
    if (m_insertMode)
        insertStroke(keyCode, released);
    else if (m_hookInstalled)
        record(keyCode, released);
    commit();
}

void MacroEditor::hookInstallFailed() {
    // A single insertion keeps its flag whatever the hook said; recording just gets no keys.
    if (!m_insertMode)
        m_hookInstalled = false;
}

void MacroEditor::record(std::uint8_t keyCode, bool released) {
    const std::u16string line = KeyLine(keyCode, released);
    std::uint16_t delay = 0;
    if (released) {
        const auto now = m_clock();
        delay = DelaySince(m_lastStroke, now);
        m_lastStroke = now;
    } else if (m_lines.empty()) {
        m_lastStroke = m_clock(); // the first event of a recording
    } else if (line != m_lastEventText) {
        const auto now = m_clock();
        delay = DelaySince(m_lastStroke, now);
        m_lastStroke = now;
    }
    // A key line equal to the last one is a held key's auto-repeat.
    if (line == m_lastEventText)
        return;
    // Presses stop short of the end so that their releases still fit; a release goes in
    // while it fits.
    if (!released && m_writePos >= kRecordingLimit)
        return;
    const bool withDelay = m_delayOption && !m_lines.empty();
    const std::size_t written =
        AppendEvent(streams(), keyCode, released, withDelay ? delay : kMinEventDelay);
    if (written == 0)
        return; // no room, or a key the keyboard cannot play
    m_writePos = EventStreamEnd(m_device);
    relist();
    m_lastEventText = line;
    m_selectedLine = m_lines.size() - 1;
}

void MacroEditor::insertStroke(std::uint8_t keyCode, bool released) {
    if (released) {
        m_insertMode = false;
        // While recording the hook stays, so that later strokes are still recorded.
        if (!m_recording)
            m_hookInstalled = false;
    }
    const std::size_t at = FindEventAtLine(m_display, m_insertLine);
    if (at == 0 && m_insertLine != 0)
        return; // the line is no longer an event's first line
    if (!InsertShortEvent(streams(), at, keyCode, released))
        return;
    const std::optional<std::size_t> selected = m_selectedLine;
    m_writePos = EventStreamEnd(m_device);
    relist();
    // The selection stays on its line, which moved down when the new line went above it.
    if (selected && *selected >= m_insertLine)
        selectLine(*selected + 1);
    if (!released)
        ++m_insertLine;
}

// ---- The event list -----------------------------------------------------------------------

void MacroEditor::selectLine(std::optional<std::size_t> line) {
    if (line && *line >= m_lines.size())
        line.reset();
    m_selectedLine = line;
}

bool MacroEditor::isDelayLine(std::size_t line) const {
    return line < m_lines.size() && m_lines[line].find(kDelayLineMark) != std::u16string::npos;
}

Notice MacroEditor::menuCommand(std::uint16_t command) {
    switch (command) {
    case macro_menu::recordBefore:
        recordBefore();
        return {};
    case macro_menu::recordAfter:
        recordAfter();
        return {};
    case macro_menu::insertDelay:
        return insertDelay();
    case macro_menu::deleteLine:
        deleteLine();
        return {};
    default:
        break;
    }
    for (const MouseCommand& m : kMouseCommands) {
        if (m.command == command)
            insertMouse(m.key, m.what);
    }
    return {};
}

void MacroEditor::recordBefore() {
    if (!m_selectedMacro || !m_selectedLine)
        return;
    const std::size_t s = *m_selectedLine;
    // Before the selected event's delay line, when it has one.
    if (s == 0 || isDelayLine(s))
        m_insertLine = s;
    else if (isDelayLine(s - 1))
        m_insertLine = s - 1;
    else
        m_insertLine = s;
    m_insertMode = true;
    m_hookInstalled = true;
}

void MacroEditor::recordAfter() {
    if (!m_selectedMacro || !m_selectedLine)
        return;
    const std::size_t s = *m_selectedLine;
    // After the event a delay line belongs to, which is two lines down.
    m_insertLine = s + 1 < m_lines.size() && isDelayLine(s) ? s + 2 : s + 1;
    m_insertMode = true;
    m_hookInstalled = true;
}

void MacroEditor::insertMouse(std::uint8_t key, MouseInsert what) {
    if (!m_selectedMacro || !m_selectedLine)
        return;
    const std::size_t s = *m_selectedLine;
    const std::size_t b = isDelayLine(s) ? s + 2 : s + 1;
    const std::size_t first = FindPlaceAfterLines(m_display, b);
    if (first != 0 && InsertShortEvent(streams(), first, key, what == MouseInsert::Release) &&
        what == MouseInsert::Click) {
        const std::size_t second = FindPlaceAfterLines(m_display, b + 1);
        if (second != 0)
            InsertShortEvent(streams(), second, key, true);
    }
    afterEdit();
}

Notice MacroEditor::insertDelay() {
    if (!m_selectedMacro || !m_selectedLine || *m_selectedLine + 1 >= m_lines.size())
        return {};
    const std::size_t s = *m_selectedLine;
    if (isDelayLine(s))
        return {kEditCurrentDelayText, kMacroCaption};
    // The event after the selected one; it starts right below the selected key line.
    const std::size_t next = FindEventAtLine(m_display, s + 1);
    if (next != 0)
        SetEventDelay(streams(), next, kInsertedDelay);
    ForceFirstEventDelay(streams());
    afterEdit();
    showSelectedMacro();
    return {};
}

void MacroEditor::deleteLine() {
    if (!m_selectedMacro || !m_selectedLine)
        return;
    const std::size_t s = *m_selectedLine;
    const bool delayOnly = isDelayLine(s);
    // The event whose lines end at the selected key line, or just below the delay line.
    const std::size_t target = FindEventEndingAtLines(m_display, delayOnly ? s + 2 : s + 1);
    if (delayOnly)
        RemoveEventDelay(streams(), target);
    else
        RemoveEvent(streams(), target);
    ForceFirstEventDelay(streams());
    afterEdit();
    showSelectedMacro();
}

void MacroEditor::editDelay(std::size_t line, int value) {
    if (!m_selectedMacro || !isDelayLine(line))
        return;
    const auto delay = static_cast<std::uint16_t>(std::clamp<int>(value, 2, kMaxEventDelay));
    SetEventDelay(streams(), FindEventAtLine(m_display, line), delay);
    ForceFirstEventDelay(streams());
    afterEdit();
}

void MacroEditor::editBegin() {
    releaseHook();
    m_recording = false;
    m_insertMode = false;
}

// ---- Shared steps -------------------------------------------------------------------------

void MacroEditor::relist() {
    m_lines.clear();
    for (EventLine& line : EventLines(m_display))
        m_lines.push_back(std::move(line.text));
    m_eventCount = Events(m_display).size();
    if (m_selectedLine && *m_selectedLine >= m_lines.size())
        m_selectedLine.reset();
}

void MacroEditor::commit() {
    if (!m_selectedMacro)
        return;
    MacroRecord& slot = m_work[*m_selectedMacro];
    slot.setName(m_names[*m_selectedMacro]);
    slot.repeatCount = m_loopOption ? repeatValue() : 1;
    slot.flags = m_delayOption ? kDelayOptionFlag : 0;
    slot.deviceEvents = m_device;
    slot.displayEvents = m_display;
}

// Every edit of the event list ends a pending single insertion and reaches the macro at once.
void MacroEditor::afterEdit() {
    endInsertion();
    m_writePos = EventStreamEnd(m_device);
    relist();
    commit();
}

void MacroEditor::endInsertion() {
    if (!m_insertMode)
        return;
    m_insertMode = false;
    // Outside a recording the hook served only the insertion; keeping it would record every
    // later key stroke typed in the dialog into the macro.
    if (!m_recording)
        releaseHook();
}

void MacroEditor::releaseHook() {
    m_hookInstalled = false;
}

} // namespace orvo
