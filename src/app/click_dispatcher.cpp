#include "app/click_dispatcher.h"

#include "app/lighting_panel.h"
#include "model/config_state.h"

#include <algorithm>

namespace orvo {

namespace {

std::uint8_t AsHover(int index) {
    return index < 0 ? kNoHover : static_cast<std::uint8_t>(index);
}

int ListRow(const InclusiveRect& area, Point p) {
    return (p.y - area.top) / kListRowHeight;
}

} // namespace

ClickDispatcher::ClickDispatcher(MainWindowState& state, const ConfigState& config,
                                 LightingPanel& lighting, MainWindowCommands& commands)
    : m_state(state), m_config(config), m_lighting(lighting), m_commands(commands) {}

int ClickDispatcher::regionAt(Point p) const {
    return HitTestRegion(p, m_config.image.byte(field::lightingEffect));
}

void ClickDispatcher::leftButtonDown(Point p) {
    m_state.bandStart = p;
    m_state.bandEnd = Point{};
    m_state.buttonDown = true;
}

void ClickDispatcher::mouseMove(Point p) {
    m_state.bandEnd = p;
    bool redraw = false;
    int region = kNoRegion;

    // 1. An open drop-down list takes the pointer while it is over its rows.
    if (m_state.effectListOpen || m_state.palmListOpen) {
        const InclusiveRect& area = m_state.effectListOpen ? kEffectListArea : kPalmListArea;
        int& hovered = m_state.effectListOpen ? m_state.hoveredEffectRow : m_state.hoveredPalmRow;
        if (area.contains(p)) {
            const int row = ListRow(area, p);
            if (row != hovered) {
                hovered = row;
                m_commands.redraw();
            }
            return;
        }
        if (hovered != kNoRow)
            redraw = true;
        hovered = kNoRow;
    } else {
        // 2. Region hover (the title-bar buttons show it).
        region = regionAt(p);
        if (region >= 0) {
            if (m_state.hoverRegion != region) {
                m_state.hoverFlags.fill(0);
                m_state.hoverFlags[static_cast<std::size_t>(region)] = 1;
                m_state.hoverRegion = static_cast<std::uint8_t>(region);
                redraw = true;
            }
        } else if (m_state.hoverRegion != kNoHover) {
            m_state.hoverFlags.fill(0);
            m_state.hoverRegion = kNoHover;
            redraw = true;
        }
    }

    // 3. A drag: moves the window from its top strip, else draws a selection band.
    if (m_state.buttonDown) {
        const bool bareStrip = region < 0 && HitTestKey(p, m_state.diyMode) < 0 &&
                               p.y >= kDragStripTop && p.y <= kDragStripBottom;
        if (bareStrip) {
            m_state.buttonDown = false;
            m_commands.startWindowMove(m_state.bandStart);
            return;
        }
        selectByBand();
        m_commands.redraw();
        return;
    }

    // 4. Key hover.
    const int key = HitTestKey(p, m_state.diyMode);
    const std::uint8_t hover = AsHover(key);
    if (hover != m_state.hoverKey) {
        m_state.hoverKey = hover;
        if (!IsInertKey(key))
            redraw = true;
    }
    if (redraw)
        m_commands.redraw();
}

void ClickDispatcher::selectByBand() {
    const Point a = m_state.bandStart;
    const Point b = m_state.bandEnd;
    bool any = false;
    for (std::size_t key = 0; key < kMainKeyCount; ++key) {
        const InclusiveRect r = KeyPictureTable[key].rect;
        // Keys without a rectangle have no place on the picture to select.
        const bool inside = !r.empty() && r.left + kKeyboardOrigin.x >= a.x &&
                            r.right + kKeyboardOrigin.x <= b.x &&
                            r.top + kKeyboardOrigin.y >= a.y && r.bottom + kKeyboardOrigin.y <= b.y;
        m_state.keySelected[key] = inside ? 1 : 0;
        any = any || inside;
    }
    m_state.selectionState = any ? kSelectionBand : kSelectionNone;
}

void ClickDispatcher::leftButtonUp(Point p) {
    m_state.bandStart = m_state.bandEnd = Point{};
    m_state.buttonDown = false;

    if (m_state.effectListOpen) {
        if (kEffectListArea.contains(p))
            m_lighting.clickEffectList(p);
        m_state.effectListOpen = false;
        m_state.hoveredEffectRow = kNoRow;
    } else if (m_state.palmListOpen) {
        if (kPalmListArea.contains(p))
            m_lighting.clickPalmList(p);
        m_state.palmListOpen = false;
        m_state.hoveredPalmRow = kNoRow;
    } else if (m_state.helpMenuOpen) {
        if (kHelpMenuArea.contains(p))
            m_commands.helpItem((p.y - kHelpMenuArea.top) / kHelpItemHeight);
        m_state.helpMenuOpen = false;
    } else {
        clickRegion(regionAt(p));
        clickKey(p);
    }
    m_commands.redraw();
}

void ClickDispatcher::clickRegion(int region) {
    switch (region) {
    case kNoRegion:
    case kDefaultRegion:
        return;
    case kHelpRegion:
        m_state.helpMenuOpen = true;
        return;
    case kMinimiseRegion:
        m_commands.minimise();
        return;
    case kCloseRegion:
        m_commands.closeProgram();
        return;
    case kProfilesRegion:
        m_commands.openProfiles();
        return;
    case kMacrosRegion:
        m_commands.openMacros();
        return;
    case kCancelRegion:
        m_commands.cancelChanges();
        return;
    case kSaveRegion:
        m_commands.saveChanges();
        return;
    default:
        m_lighting.click(region);
        return;
    }
}

void ClickDispatcher::clickKey(Point p) {
    const int key = HitTestKey(p, m_state.diyMode);
    m_state.hoverKey = AsHover(key);
    if (key < 0) {
        if (m_state.selectionState == kSelectionBand)
            m_state.selectionState = kSelectionArmed;
        return;
    }
    if (IsInertKey(key))
        return;
    if (!m_state.diyMode) {
        m_commands.assignKey(key);
        return;
    }
    const auto k = static_cast<std::size_t>(key);
    if (m_state.ctrlHeld) {
        m_state.keySelected[k] = m_state.keySelected[k] ? 0 : 1;
        return;
    }
    switch (m_state.selectionState) {
    case kSelectionBand:
        // The release that ends a band drag on a key arms the selection.
        m_state.selectionState = kSelectionArmed;
        return;
    case kSelectionNone:
        m_state.keySelected[k] = 1;
        [[fallthrough]];
    default:
        m_lighting.colourSelectedKeys();
        m_state.clearSelection();
        return;
    }
}

void ClickDispatcher::ctrlReleased() {
    m_state.ctrlHeld = false;
    const auto end = m_state.keySelected.begin() + kMainKeyCount;
    if (std::any_of(m_state.keySelected.begin(), end, [](std::uint8_t s) { return s != 0; }))
        m_state.selectionState = kSelectionArmed;
}

} // namespace orvo
