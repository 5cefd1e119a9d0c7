#pragma once
// Keys that play a macro, after the macro manager moved its macros: a macro's number is its
// slot, so deleting one moves every later macro down a number, and a key would otherwise play
// whatever macro now holds its old number.

#include <cstddef>
#include <optional>
#include <vector>

namespace orvo {

struct ConfigState;

// Where the macros of the store the manager opened went: entry n is the new number of old
// macro n, or nullopt when it was deleted. Numbers past the end keep their number.
using MacroRenumbering = std::vector<std::optional<std::size_t>>;

// Every key whose key-map entry or action record plays an old macro number plays that macro's
// new number; a key whose macro was deleted gets its own function back. The customised flags
// are recomputed. Returns the number of key indexes changed.
std::size_t RenumberMacroKeys(ConfigState& state, const MacroRenumbering& renumbering);

} // namespace orvo
