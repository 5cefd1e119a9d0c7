#pragma once
// Macro event streams: the 190-byte sequences of key presses and releases with the delay
// before each, and the editing primitives over them. A macro keeps two streams of the same
// shape, one with device codes (what the keyboard plays) and one with virtual-key codes
// (what the macro manager shows); every primitive edits both alike.
//
// Stream form: events from byte 0. Control byte: bit 7 = release, bits 0..6 = delay in ms
// (1..126) or 0x7F for a long event. Short event: control, key. Long event: control, key,
// delay high byte, delay low byte. A key byte of 0 ends the stream; zeros follow.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr std::size_t kEventStreamSize = 190;
inline constexpr std::size_t kRecordingLimit = 184; // presses are recorded only below this
inline constexpr std::size_t kShortEventSize = 2;
inline constexpr std::size_t kLongEventSize = 4;
inline constexpr std::uint8_t kReleaseBit = 0x80;
inline constexpr std::uint8_t kDelayBits = 0x7F;
inline constexpr std::uint8_t kLongEventEscape = 0x7F; // delay bits of a long event
inline constexpr std::uint16_t kFirstLongDelay = 127;
inline constexpr std::uint16_t kMinEventDelay = 1; // a delay of 0 would list a "0 ms" line
inline constexpr std::uint16_t kMaxEventDelay = 60000;
inline constexpr std::uint16_t kInsertedDelay = 50; // "Insert Delay" gives the next event 50 ms

using EventStream = std::array<std::uint8_t, kEventStreamSize>;
using EventStreamView = std::span<const std::uint8_t, kEventStreamSize>;

// The two streams of one macro, edited together.
struct EventStreams {
    EventStream& device;
    EventStream& display;
};

// One event's bytes in the shortest form; the delay is limited to 1..60000 ms first.
struct EncodedEvent {
    std::array<std::uint8_t, kLongEventSize> bytes{};
    std::size_t size = 0;
};
EncodedEvent EncodeEvent(std::uint8_t key, bool release, std::uint16_t delay);

// One event as the walk sees it.
struct MacroEvent {
    std::size_t offset = 0; // of the control byte
    std::size_t size = 0;   // 2 or 4
    bool release = false;
    std::uint8_t key = 0;      // the stream's own key byte
    std::uint16_t delay = 0;   // ms
    bool hasDelayLine = false; // a "%d ms" line above the key line
    std::size_t firstLine = 0; // index of the event's first line in the listing
    std::size_t lines() const { return hasDelayLine ? 2 : 1; }
};

// The one walk over a stream, used by the listing and by every primitive. It yields events
// in order and stops at the end of the stream: a key byte of 0, the end of the 190 bytes, or
// a long event cut off by the end. It never reads outside the stream.
class EventWalk {
public:
    explicit EventWalk(EventStreamView stream) : m_stream(stream) {}
    std::optional<MacroEvent> next();
    // Behind the last event returned so far; after the walk ended, the end of the stream.
    std::size_t offset() const { return m_offset; }
    // Lines of the events returned so far.
    std::size_t lineCount() const { return m_lines; }

private:
    EventStreamView m_stream;
    std::size_t m_offset = 0;
    std::size_t m_lines = 0;
    bool m_done = false;
};

std::vector<MacroEvent> Events(EventStreamView stream);
// Where the stream ends: the place the next recorded event goes.
std::size_t EventStreamEnd(EventStreamView stream);
std::size_t EventLineCount(EventStreamView stream);

// The ends of the event list's lines: a key line's press or release, a delay line's unit. A
// line of the event list holding kDelayLineMark is a delay line.
inline constexpr std::u16string_view kPressLineMark = u" dn";
inline constexpr std::u16string_view kReleaseLineMark = u" up";
inline constexpr std::u16string_view kDelayLineMark = u" ms";

enum class EventLineKind : std::uint8_t { Delay, Press, Release };
struct EventLine {
    EventLineKind kind = EventLineKind::Press;
    std::u16string text; // "300 ms", "A  dn", "A  up"
    friend bool operator==(const EventLine&, const EventLine&) = default;
};
// The event list of the macro manager for a display stream: per event its delay line (when
// it has one) and its key line with the key's display name.
std::vector<EventLine> EventLines(EventStreamView displayEvents);
std::u16string DelayLineText(std::uint16_t delay);

// Offset of the event whose first line is `line`. A line just past the last event gives the
// end of the stream (where an event is appended); any other line gives 0.
std::size_t FindEventAtLine(EventStreamView stream, std::size_t line);
// Offset just behind the event after which the line count equals `count`; 0 for count 0 or
// when no event ends there.
std::size_t FindPlaceAfterLines(EventStreamView stream, std::size_t count);
// Offset of the event after which the line count equals `count` (the event whose lines end
// at line count - 1); 0 when none does.
std::size_t FindEventEndingAtLines(EventStreamView stream, std::size_t count);

// The primitives below edit both streams at the same offset, each stream checked on its own,
// so streams of any content stay in bounds. Offsets must be an event start (or, for
// insertion, the end of the stream); other offsets change nothing. Bytes freed when a stream
// shrinks are cleared, and bytes pushed past the end are dropped together with any event they
// cut in half.

// Keys without a device code are never stored: their key byte would end the device stream.
// Appends an event at the end of each stream (recording). The device code of the key goes
// into the device stream, the key itself into the display stream. Returns the bytes written
// to the device stream, 0 when the event does not fit (it is then dropped).
std::size_t AppendEvent(EventStreams s, std::uint8_t key, bool release, std::uint16_t delay);
// Inserts the short event (delay 1) at p, moving the rest up by two.
bool InsertShortEvent(EventStreams s, std::size_t p, std::uint8_t key, bool release);
// Takes the event at p out.
void RemoveEvent(EventStreams s, std::size_t p);
// Leaves the event at p as a short event with delay 1.
void RemoveEventDelay(EventStreams s, std::size_t p);
// Sets the delay of the event at p, switching between the short and the long form. A long
// form that does not fit at the end of the stream drops the event.
void SetEventDelay(EventStreams s, std::size_t p, std::uint16_t delay);
// Gives the first event a delay of 1 ms, as every edit must; a long first event loses its
// delay bytes.
void ForceFirstEventDelay(EventStreams s);

} // namespace orvo
