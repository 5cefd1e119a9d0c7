#pragma once
// The predefined functions of the "Basic" page in tree order: 23 functions, 17 of them inside
// three groups. A function's four entry bytes go unchanged into the key's key-map entry and
// into bytes 2..5 of its action record; the keyboard itself executes them (type 0: up to
// three device codes, type 3: a Consumer page usage, low byte first).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvo {

using FunctionEntryBytes = std::array<std::uint8_t, 4>;

// Place in the tree: "3.1" is {3, 1}; a root item has sub 0.
struct TreePosition {
    std::uint8_t top = 0;
    std::uint8_t sub = 0;
    friend bool operator==(const TreePosition&, const TreePosition&) = default;
};

struct FunctionRow {
    TreePosition position;
    std::u16string_view label;  // shown in the tree and kept as the chosen function's name
    bool isGroup = false;       // a group only holds functions; it cannot be assigned
    FunctionEntryBytes entry{}; // zero for a group
};

inline constexpr std::size_t kFunctionRowCount = 26; // 23 functions and 3 groups
extern const std::array<FunctionRow, kFunctionRowCount> FunctionTable;

// The function (never a group) with this label, or nullptr.
const FunctionRow* FindFunctionByLabel(std::u16string_view label);
// The function whose entry bytes equal these four bytes as a whole, or nullptr.
const FunctionRow* FindFunctionByEntry(std::span<const std::uint8_t, 4> entry);
bool IsFunctionGroupLabel(std::u16string_view label);

// Row index of the group a row belongs to, or -1 for a root item.
int FunctionGroupRowOf(std::size_t row);

// What the tree shows for a chosen function name: the row to select and the group to
// expand (-1 for none).
struct FunctionTreeChoice {
    int selectedRow = -1;
    int expandedGroupRow = -1;
    friend bool operator==(const FunctionTreeChoice&, const FunctionTreeChoice&) = default;
};
FunctionTreeChoice TreeChoiceFor(std::u16string_view chosenFunction);

} // namespace orvo
