#pragma once
// The text form of a macro: its event list exactly as the macro manager shows it, one row per
// line ("A  dn", "300 ms", "A  up"), so that a macro can be read, written by hand and shared.

#include <cstddef>
#include <string>
#include <string_view>

#include "model/macro_events.h"
#include "model/macro_model.h"

namespace orvo {

// The macro's event list, each row followed by a line break.
std::string MacroToText(const MacroRecord& macro);

struct MacroTextResult {
    EventStream device{};
    EventStream display{};
    std::size_t line = 0; // 1-based line at fault; 0 when the text was read whole
    std::string error;
    bool ok() const { return error.empty(); }
};

// Reads a text form into both streams, stored as recording stores them. Key lines are a key
// name of the key table (or "#N", the own key of key index N) followed by "dn" or "up"; a delay
// line "N ms" (1..60000) gives the delay of the key line below it; blank lines are skipped. The
// first event's delay is always 1 ms, as every edit of a macro leaves it.
MacroTextResult ParseMacroText(std::string_view utf8);

} // namespace orvo
