#include "model/key_map_layout.h"

namespace orvo {

namespace {
constexpr std::u16string_view kLargeButton = u"large_button.png";
constexpr std::u16string_view kCancelNormal = u"button-cancel-normal.png";
constexpr std::u16string_view kCancelOver = u"button-cancel-over.png";
} // namespace

const std::array<KeyMapButtonInfo, kKeyMapButtonCount> KeyMapButtonTable{{
    {{302, 5, 320, 23}, u"button-close-normal.png", u"button-close-over.png"},
    {{0, 28, 94, 55}, kLargeButton, {}},
    {{80, 28, 174, 55}, kLargeButton, {}},
    {{160, 28, 254, 55}, kLargeButton, {}},
    {{240, 28, 334, 55}, kLargeButton, {}},
    {{0, 30, 325, 36}, u"single_combine_option.png", {}},
    {{19, 251, 29, 260}, u"Disable.png", u"Enable.png"},
    {{156, 246, 197, 268}, kCancelNormal, kCancelOver},
    {{210, 246, 251, 268}, kCancelNormal, kCancelOver},
    {{264, 246, 305, 268}, u"button-save-normal.png", u"button-save-over.png"},
}};

int HitTestKeyMapButton(Point p) {
    const InclusiveRect box = KeyMapButtonTable[static_cast<int>(KeyMapButton::Disable)].rect;
    const InclusiveRect widened{box.left - kDisableHitMargin, box.top - kDisableHitMargin,
                                box.right + kDisableHitMargin, box.bottom + kDisableHitMargin};
    if (widened.contains(p))
        return static_cast<int>(KeyMapButton::Disable);
    for (std::size_t b = 0; b < KeyMapButtonTable.size(); ++b) {
        if (KeyMapButtonTable[b].rect.contains(p))
            return static_cast<int>(b);
    }
    return -1;
}

bool UpdateKeyMapHover(KeyMapHover& hover, int button) {
    if (button == hover.button)
        return false;
    hover.button = button;
    hover.over.fill(false);
    if (button >= 0 && button != static_cast<int>(KeyMapButton::Disable))
        hover.over[static_cast<std::size_t>(button)] = true;
    return true;
}

const std::array<AdvancedAreaInfo, 4> AdvancedRowAreas{{
    {AdvancedArea::Icon, {3, 6, 13, 15}},
    {AdvancedArea::Label, {15, 2, 246, 27}},
    {AdvancedArea::PathField, {83, 0, 245, 17}},
    {AdvancedArea::Browse, {265, 0, 325, 25}},
}};

AdvancedHit HitTestAdvancedRows(Point p) {
    for (std::size_t row = 0; row < kAdvancedRowCount; ++row) {
        const Point inRow{p.x, p.y - AdvancedRowTop(row)};
        for (const AdvancedAreaInfo& a : AdvancedRowAreas) {
            if (a.rect.contains(inRow))
                return {static_cast<int>(row), a.area};
        }
    }
    return {};
}

const std::array<AdvancedRowInfo, kAdvancedRowCount> AdvancedRowTable{{
    // The first ten characters of "Reproducir música".
    {u"Reproducir", AssignmentKind::PlayAudio, PickerKind::File, u".mp3", u"*.mp3",
     u"mp3 Files(*.mp3)", u"*.mp3"},
    {u"en marcha", AssignmentKind::RunProgram, PickerKind::File, u".exe", u"*.exe",
     u"exe Files(*.exe)", u"*.exe"},
    {u"Abrir fichero", AssignmentKind::OpenFile, PickerKind::File, u".txt", u"*.txt",
     u"txt Files(*.txt)", u"*.txt"},
    {u"Carpeta abierta", AssignmentKind::OpenFolder, PickerKind::Folder, {}, {}, {}, {}},
}};

} // namespace orvo
