#include "model/macro_events.h"

#include <algorithm>
#include <string>

#include "model/byte_order.h"
#include "model/key_tables.h"

namespace orvo {

namespace {

std::uint16_t ClampDelay(std::uint16_t delay) {
    return std::clamp(delay, kMinEventDelay, kMaxEventDelay);
}

std::uint8_t ControlByte(bool release, std::uint8_t delayBits) {
    return static_cast<std::uint8_t>((release ? kReleaseBit : 0) | delayBits);
}

// The event starting exactly at p, if any.
std::optional<MacroEvent> EventAt(EventStreamView stream, std::size_t p) {
    EventWalk walk(stream);
    while (auto ev = walk.next()) {
        if (ev->offset == p)
            return ev;
        if (ev->offset > p)
            break;
    }
    return std::nullopt;
}

// Bytes p .. end - n move up by n; what passes the end is lost.
void OpenGap(EventStream& s, std::size_t p, std::size_t n) {
    std::copy_backward(s.begin() + static_cast<std::ptrdiff_t>(p),
                       s.end() - static_cast<std::ptrdiff_t>(n), s.end());
}

// n bytes at p are taken out; the freed bytes at the end are cleared.
void CloseGap(EventStream& s, std::size_t p, std::size_t n) {
    std::copy(s.begin() + static_cast<std::ptrdiff_t>(p + n), s.end(),
              s.begin() + static_cast<std::ptrdiff_t>(p));
    std::fill(s.end() - static_cast<std::ptrdiff_t>(n), s.end(), std::uint8_t{0});
}

// Clears everything behind the last whole event, so that no stale or cut-off event is left
// after an edit moved bytes past the end.
void Terminate(EventStream& s) {
    const std::size_t end = EventStreamEnd(s);
    std::fill(s.begin() + static_cast<std::ptrdiff_t>(end), s.end(), std::uint8_t{0});
}

// Runs one edit on both streams: the display stream keeps the key code, the device stream
// gets its device code.
template <typename Edit> bool EditBoth(EventStreams s, std::uint8_t key, Edit edit) {
    const bool device = edit(s.device, DeviceCodeOf(key));
    const bool display = edit(s.display, key);
    Terminate(s.device);
    Terminate(s.display);
    return device && display;
}

template <typename Edit> void EditBoth(EventStreams s, Edit edit) {
    EditBoth(s, 0, [&](EventStream& stream, std::uint8_t) { return edit(stream); });
}

bool ClearDelay(EventStream& s, std::size_t p) {
    const auto ev = EventAt(s, p);
    if (!ev)
        return false;
    s[p] = ControlByte(ev->release, kMinEventDelay);
    if (ev->size == kLongEventSize)
        CloseGap(s, p + kShortEventSize, kLongEventSize - kShortEventSize);
    return true;
}

} // namespace

EncodedEvent EncodeEvent(std::uint8_t key, bool release, std::uint16_t delay) {
    delay = ClampDelay(delay);
    EncodedEvent e;
    if (delay < kFirstLongDelay) {
        e.bytes = {ControlByte(release, static_cast<std::uint8_t>(delay)), key, 0, 0};
        e.size = kShortEventSize;
    } else {
        e.bytes = {ControlByte(release, kLongEventEscape), key, 0, 0};
        WriteBe16(e.bytes, 2, delay);
        e.size = kLongEventSize;
    }
    return e;
}

std::optional<MacroEvent> EventWalk::next() {
    if (m_done)
        return std::nullopt;
    const std::size_t p = m_offset;
    if (p + kShortEventSize > kEventStreamSize || m_stream[p + 1] == 0) {
        m_done = true;
        return std::nullopt;
    }
    MacroEvent ev;
    ev.offset = p;
    ev.release = (m_stream[p] & kReleaseBit) != 0;
    ev.key = m_stream[p + 1];
    const std::uint8_t bits = m_stream[p] & kDelayBits;
    if (bits == kLongEventEscape) {
        if (p + kLongEventSize > kEventStreamSize) {
            m_done = true; // a long event cut off by the end of the stream
            return std::nullopt;
        }
        ev.size = kLongEventSize;
        ev.delay = ReadBe16(m_stream, p + 2);
    } else {
        ev.size = kShortEventSize;
        ev.delay = bits;
    }
    // The first event never shows a delay, and neither does one of 1 ms (or a stored 0).
    ev.hasDelayLine = p != 0 && ev.delay > kMinEventDelay;
    ev.firstLine = m_lines;
    m_lines += ev.lines();
    m_offset += ev.size;
    return ev;
}

std::vector<MacroEvent> Events(EventStreamView stream) {
    std::vector<MacroEvent> events;
    EventWalk walk(stream);
    while (auto ev = walk.next())
        events.push_back(*ev);
    return events;
}

std::size_t EventStreamEnd(EventStreamView stream) {
    EventWalk walk(stream);
    while (walk.next()) {
    }
    return walk.offset();
}

std::size_t EventLineCount(EventStreamView stream) {
    EventWalk walk(stream);
    while (walk.next()) {
    }
    return walk.lineCount();
}

std::u16string DelayLineText(std::uint16_t delay) {
    std::u16string text;
    for (const char c : std::to_string(delay))
        text += static_cast<char16_t>(c);
    text += kDelayLineMark;
    return text;
}

std::vector<EventLine> EventLines(EventStreamView displayEvents) {
    std::vector<EventLine> lines;
    EventWalk walk(displayEvents);
    while (auto ev = walk.next()) {
        if (ev->hasDelayLine)
            lines.push_back({EventLineKind::Delay, DelayLineText(ev->delay)});
        std::u16string key(KeyNameOf(ev->key));
        key += ev->release ? kReleaseLineMark : kPressLineMark;
        lines.push_back({ev->release ? EventLineKind::Release : EventLineKind::Press, key});
    }
    return lines;
}

std::size_t FindEventAtLine(EventStreamView stream, std::size_t line) {
    EventWalk walk(stream);
    while (auto ev = walk.next()) {
        if (ev->firstLine == line)
            return ev->offset;
        if (ev->firstLine > line)
            return 0;
    }
    return walk.lineCount() == line ? walk.offset() : 0;
}

std::size_t FindPlaceAfterLines(EventStreamView stream, std::size_t count) {
    EventWalk walk(stream);
    while (walk.next()) {
        if (walk.lineCount() == count)
            return walk.offset();
        if (walk.lineCount() > count)
            break;
    }
    return 0;
}

std::size_t FindEventEndingAtLines(EventStreamView stream, std::size_t count) {
    EventWalk walk(stream);
    while (auto ev = walk.next()) {
        if (walk.lineCount() == count)
            return ev->offset;
        if (walk.lineCount() > count)
            break;
    }
    return 0;
}

// A key byte of 0 would end the stream early, so a key the keyboard has no code for (or key 0)
// is never stored.
bool Storable(std::uint8_t key) {
    return key != 0 && DeviceCodeOf(key) != 0;
}

std::size_t AppendEvent(EventStreams s, std::uint8_t key, bool release, std::uint16_t delay) {
    if (!Storable(key))
        return 0;
    std::size_t written = 0;
    EditBoth(s, key, [&](EventStream& stream, std::uint8_t k) {
        const EncodedEvent e = EncodeEvent(k, release, delay);
        const std::size_t end = EventStreamEnd(stream);
        if (end + e.size > kEventStreamSize)
            return false;
        std::copy_n(e.bytes.begin(), e.size, stream.begin() + static_cast<std::ptrdiff_t>(end));
        if (&stream == &s.device)
            written = e.size;
        return true;
    });
    return written;
}

bool InsertShortEvent(EventStreams s, std::size_t p, std::uint8_t key, bool release) {
    if (!Storable(key))
        return false;
    return EditBoth(s, key, [&](EventStream& stream, std::uint8_t k) {
        if (p + kShortEventSize > kEventStreamSize)
            return false;
        if (p != EventStreamEnd(stream) && !EventAt(stream, p))
            return false;
        OpenGap(stream, p, kShortEventSize);
        stream[p] = ControlByte(release, kMinEventDelay);
        stream[p + 1] = k;
        return true;
    });
}

void RemoveEvent(EventStreams s, std::size_t p) {
    EditBoth(s, [&](EventStream& stream) {
        const auto ev = EventAt(stream, p);
        if (ev)
            CloseGap(stream, p, ev->size);
        return ev.has_value();
    });
}

void RemoveEventDelay(EventStreams s, std::size_t p) {
    EditBoth(s, [&](EventStream& stream) { return ClearDelay(stream, p); });
}

void SetEventDelay(EventStreams s, std::size_t p, std::uint16_t delay) {
    delay = ClampDelay(delay);
    EditBoth(s, [&](EventStream& stream) {
        const auto ev = EventAt(stream, p);
        if (!ev)
            return false;
        if (delay < kFirstLongDelay) {
            if (ev->size == kLongEventSize)
                CloseGap(stream, p + kShortEventSize, kLongEventSize - kShortEventSize);
            stream[p] = ControlByte(ev->release, static_cast<std::uint8_t>(delay));
            return true;
        }
        if (ev->size == kShortEventSize) {
            if (p + kLongEventSize > kEventStreamSize) {
                CloseGap(stream, p, ev->size); // the long form does not fit: drop the event
                return false;
            }
            OpenGap(stream, p + kShortEventSize, kLongEventSize - kShortEventSize);
        }
        stream[p] = ControlByte(ev->release, kLongEventEscape);
        WriteBe16(stream, p + 2, delay);
        return true;
    });
}

void ForceFirstEventDelay(EventStreams s) {
    EditBoth(s, [&](EventStream& stream) { return ClearDelay(stream, 0); });
}

} // namespace orvo
