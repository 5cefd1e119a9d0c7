#include "model/macro_text.h"

#include "model/key_tables.h"
#include "model/name_lookup.h"
#include "model/utf16.h"

#include <optional>

namespace orvo {

namespace {

// "<name> <mark>" split at its last blank, which the mark keeps as the event list writes it
// (blanks are single spaces by then); the name may itself hold blanks.
std::optional<std::pair<std::u16string, std::u16string>> SplitLast(const std::u16string& line) {
    const std::size_t blank = line.find_last_of(u' ');
    if (blank == std::u16string::npos || blank == 0)
        return std::nullopt;
    return std::pair(line.substr(0, blank), line.substr(blank));
}

// The key name of a key line as it was typed: everything before its last word, trimmed.
std::u16string_view KeyPart(std::u16string_view line) {
    constexpr std::u16string_view kBlanks = u" \t";
    line = line.substr(0, line.find_last_not_of(kBlanks) + 1);
    line = line.substr(0, line.find_last_of(kBlanks) + 1);
    line = line.substr(0, line.find_last_not_of(kBlanks) + 1);
    const std::size_t start = line.find_first_not_of(kBlanks);
    return start == std::u16string_view::npos ? std::u16string_view{} : line.substr(start);
}

} // namespace

std::string MacroToText(const MacroRecord& macro) {
    std::string text;
    for (const EventLine& line : EventLines(macro.displayEvents))
        text += ToUtf8(line.text) + '\n';
    return text;
}

MacroTextResult ParseMacroText(std::string_view utf8) {
    MacroTextResult result;
    EventStreams streams{result.device, result.display};
    std::uint16_t pendingDelay = 0; // 0: no delay line above the next key line
    std::size_t pendingLine = 0;
    bool first = true;
    std::size_t number = 0;
    const auto fail = [&](std::size_t line, std::string error) {
        result = MacroTextResult{};
        result.line = line;
        result.error = std::move(error);
        return result;
    };
    for (std::size_t at = 0; at <= utf8.size();) {
        const std::size_t end = std::min(utf8.find('\n', at), utf8.size());
        std::string_view raw = utf8.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        const auto text = FromUtf8(raw);
        if (!text)
            return fail(number, "the line is not UTF-8 text");
        // Blanks are evened out first; the key names keep their own spelling for messages.
        const std::u16string line = FoldedName(*text);
        if (line.empty())
            continue;
        const auto parts = SplitLast(line);
        if (!parts)
            return fail(number, "expected \"KEY dn\", \"KEY up\" or \"N ms\"");
        const auto& [head, mark] = *parts;
        if (mark == kDelayLineMark) {
            const auto delay = ParseNumber(head, kMaxEventDelay);
            if (!delay || *delay < kMinEventDelay)
                return fail(number, "a delay is 1 to 60000 ms");
            if (pendingDelay != 0)
                return fail(number, "two delay lines in a row");
            pendingDelay = static_cast<std::uint16_t>(*delay);
            pendingLine = number;
            continue;
        }
        if (mark != kPressLineMark && mark != kReleaseLineMark)
            return fail(number, "expected \"KEY dn\", \"KEY up\" or \"N ms\"");
        const std::string name = ToUtf8(KeyPart(*text));
        const auto key = FindKeyCode(head);
        if (!key)
            return fail(number, "no key is named \"" + name + "\"");
        if (DeviceCodeOf(*key) == 0)
            return fail(number, "the keyboard cannot play \"" + name + "\"");
        // The first event always waits 1 ms, whatever the text says above it.
        const std::uint16_t delay = first || pendingDelay == 0 ? kMinEventDelay : pendingDelay;
        if (AppendEvent(streams, *key, mark == kReleaseLineMark, delay) == 0)
            return fail(number, "the macro does not fit (at most 190 bytes of events)");
        pendingDelay = 0;
        first = false;
    }
    if (pendingDelay != 0)
        return fail(pendingLine, "a delay line must stand above a key line");
    return result;
}

} // namespace orvo
