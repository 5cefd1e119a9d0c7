#pragma once
// What a dialog's rules ask the user: a message box (text and caption, OK only) or a
// question answered with OK or Cancel. The rules return or ask these; the dialog shows them.

#include <functional>
#include <string_view>

namespace orvo {

struct Notice {
    std::u16string_view text; // empty: nothing to show
    std::u16string_view caption;
    explicit operator bool() const { return !text.empty(); }
    friend bool operator==(const Notice&, const Notice&) = default;
};

// Puts a question to the user; true when the answer is OK.
using Confirm = std::function<bool(const Notice& question)>;

} // namespace orvo
