#pragma once
// Finding what a person typed among the names the program shows: effects as the effect lists
// show them, keys by the key table's names, functions by their tree labels. Names match without
// regard to case, accents, surrounding blanks or runs of blanks ("modo onda" finds
// "Modo onda", "iluminacion fija" finds "Iluminación fija", "a" finds "A ").

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/function_table.h"

namespace orvo {

// The form names are compared in: blanks at either end dropped, inner runs of blanks made
// one space, letters lower-case and without their accents.
std::u16string FoldedName(std::u16string_view text);

// An effect of the effect list by its name or its code ("3"); nullopt for neither.
std::optional<std::uint8_t> FindEffect(std::u16string_view nameOrCode);
// A palm-rest effect by its name (with or without its "-Plam Rest" ending) or its code.
std::optional<std::uint8_t> FindPalmEffect(std::u16string_view nameOrCode);

// A key of the keyboard (key index 0..120): "#63", or the key table's name of its own code
// ("A", "F5", "Enter"), or else the label the key picture draws on it ("Fn", "S1").
// Names two keys share ("Enter", "-", ".", "/", "Apps") find the key of the main block, not
// the one of the keypad (or the Fn key); "#N" reaches the other.
std::optional<std::size_t> FindKeyIndex(std::u16string_view name);

// A key code by the key table's name ("B", "LCtrl", "1-num", "MsLB"), or "#N" for the own code
// of key index N. Shared names find the main block's code, as above.
std::optional<std::uint8_t> FindKeyCode(std::u16string_view name);

// How listings name a key index: the key table's name of its own code, else the key picture's
// label, else "#N" - the first of them that FindKeyIndex takes back to this key.
std::u16string KeyIndexName(std::size_t keyIndex);

// A function of the "Basic" page by its label (never a group); nullptr for none.
const FunctionRow* FindFunctionByName(std::u16string_view name);

// A whole decimal number in 0..max (digits only); nullopt for anything else.
std::optional<unsigned> ParseNumber(std::u16string_view text, unsigned max);

} // namespace orvo
