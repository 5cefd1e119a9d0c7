#include "model/host_actions.h"

namespace orvo {

namespace {
constexpr std::u16string_view kRowPathEllipsis = u"..";
} // namespace

SplitPath SplitHostPath(std::u16string_view path, std::u16string_view separators) {
    const std::size_t at = path.find_last_of(separators);
    if (at == std::u16string_view::npos)
        return {std::u16string(path), {}};
    return {std::u16string(path.substr(0, at)), std::u16string(path.substr(at + 1))};
}

std::u16string RowPathText(std::u16string_view path, std::u16string_view separators) {
    if (path.size() < kRowPathWholeBelow)
        return std::u16string(path);
    // A folder path may end in a separator; its last component starts at the one before.
    const std::size_t at = path.find_last_of(separators, path.size() - 2);
    if (at == std::u16string_view::npos)
        return std::u16string(path);
    std::u16string text(kRowPathEllipsis);
    text += path.substr(at);
    return text;
}

ChosenPathCheck CheckChosenPath(std::u16string_view path) {
    if (path.empty())
        return ChosenPathCheck::Empty;
    if (path.size() > kMaxChosenPathUnits)
        return ChosenPathCheck::TooLong;
    return ChosenPathCheck::Ok;
}

std::optional<HostAction> FindHostActionFor(const KeyActionTable& table,
                                            std::uint32_t reportedCode) {
    const KeyActionRecord* r = table.findHostAction(static_cast<std::uint8_t>(reportedCode));
    if (r == nullptr)
        return std::nullopt;
    HostAction action;
    action.kind = static_cast<AssignmentKind>(r->kind());
    action.path = r->path();
    if (action.path.empty())
        return std::nullopt;
    action.parts = SplitHostPath(action.path);
    action.launch = action.kind == AssignmentKind::RunProgram ? HostLaunch::StartProgram
                                                              : HostLaunch::OpenWithDesktop;
    return action;
}

} // namespace orvo
