#include "app/main_window_composer.h"

#include "app/lighting_panel.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/qt_convert.h"
#include "model/config_state.h"
#include "model/key_tables.h"
#include "model/lighting_rules.h"

#include <QPainter>

namespace orvo {

namespace {

QRect ToWindow(const InclusiveRect& r) {
    return QRect(QPoint(kKeyboardOrigin.x + r.left, kKeyboardOrigin.y + r.top),
                 QPoint(kKeyboardOrigin.x + r.right, kKeyboardOrigin.y + r.bottom));
}

bool IsKey(std::uint8_t index) {
    return index < kKeyCount;
}

// The frame of a selected or hovered key: 2 pixels outside on the left and top, 1 on the
// right and bottom.
void FrameKey(QPainter& canvas, std::size_t key) {
    for (const InclusiveRect& part : KeyParts(key)) {
        const QRect r = ToWindow(part);
        DrawFrame(canvas, r.left() - 2, r.top() - 2, r.width() + 2, r.height() + 2);
    }
}

// The title-bar buttons and the bottom row, in drawing order.
constexpr std::array<MainRegion, 3> kTitleButtons{kHelpRegion, kMinimiseRegion, kCloseRegion};
constexpr std::array<MainRegion, 4> kBottomButtons{kDefaultRegion, kCancelRegion, kSaveRegion,
                                                   kProfilesRegion};

} // namespace

MainWindowComposer::MainWindowComposer(const ImageStore& images, const MainWindowState& state,
                                       const ConfigState& config, LightingPanel& lighting)
    : m_images(images), m_state(state), m_config(config), m_lighting(lighting) {}

void MainWindowComposer::drawRegion(QPainter& canvas, MainRegion region, bool alt) {
    const RegionPlace& place = RegionPlaceOf(region);
    DrawPng(canvas, m_images, alt ? place.altPicture : place.picture, place.drawAt);
}

QImage MainWindowComposer::compose(QImage background) {
    QImage picture = std::move(background);
    if (picture.isNull())
        return picture;
    QPainter canvas(&picture);

    for (const PlacedPicture& logo : kLogoPictures)
        DrawPng(canvas, m_images, logo);
    for (MainRegion button : kTitleButtons)
        drawRegion(canvas, button, m_state.hoverFlags[static_cast<std::size_t>(button)] != 0);
    DrawPng(canvas, m_images, kKeyboardPicture);

    drawKeyboardOverlay(canvas);

    for (MainRegion button : kBottomButtons)
        drawRegion(canvas, button);
    DrawLabel(canvas, kProfileLabel);

    m_lighting.draw(canvas);

    if (m_state.keyboardMissing)
        DrawLabel(canvas, kKeyboardGoneText, kKeyboardGoneColour);

    if (m_state.helpMenuOpen) {
        DrawPng(canvas, m_images, kHelpMenuPicture);
        for (const PlacedText& t : kHelpMenuTexts)
            DrawLabel(canvas, t);
    }
    return picture;
}

void MainWindowComposer::drawKeyboardOverlay(QPainter& canvas) {
    if (!m_state.diyMode)
        drawHighlights(canvas);
    else if (const auto table = CustomTableForEffect(m_config.image.byte(field::lightingEffect)))
        drawDiyKeys(canvas, *table);
}

void MainWindowComposer::drawHighlights(QPainter& canvas) {
    // One decode for all the key copies of this composition.
    const QImage highlight = m_images.loadForCopy(ToQString(kKeyHighlightPicture));
    const auto copyKey = [&](std::size_t key) {
        for (const InclusiveRect& part : KeyParts(key))
            DrawImageOpaque(canvas, highlight, ToQRect(part), ToWindow(part).topLeft());
    };
    if (IsKey(m_state.hoverKey))
        copyKey(m_state.hoverKey);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        // The Win key never shows as customised: the lock switch stands for it.
        if (m_config.customisedKeys[key] && key != kWinKeyIndex)
            copyKey(key);
    }
}

void MainWindowComposer::drawDiyKeys(QPainter& canvas, std::size_t table) {
    const auto colours = m_config.image.customLightingTable(table);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const auto parts = KeyParts(key);
        if (parts.empty())
            continue;
        const std::size_t entry = kKeyMapEntrySize * SlotOf(key);
        if (entry + kKeyMapEntrySize <= colours.size()) {
            const int r = colours[entry + 1], g = colours[entry + 2], b = colours[entry + 3];
            if (r != 0 || g != 0 || b != 0) {
                for (const InclusiveRect& part : parts)
                    canvas.fillRect(ToWindow(part), QColor(r, g, b));
                // The L keys have no label place; their labels would pile up above the
                // picture.
                const KeyPicture& picture = KeyPictureTable[key];
                if (picture.labelPos != Point{})
                    DrawLabel(canvas, QString::fromUtf8(picture.label.data(), picture.label.size()),
                              picture.labelPos.x + kKeyLabelOffset.x,
                              picture.labelPos.y + kKeyLabelOffset.y, kKeyLabelHeight,
                              QColor(255 - r, 255 - g, 255 - b),
                              kKeyboardOrigin.x + picture.rect.right);
            }
        }
        if (m_state.keySelected[key])
            FrameKey(canvas, key);
    }
    if (m_state.buttonDown)
        DrawFrame(canvas, m_state.bandStart.x, m_state.bandStart.y,
                  m_state.bandEnd.x - m_state.bandStart.x, m_state.bandEnd.y - m_state.bandStart.y);
    if (IsKey(m_state.hoverKey))
        FrameKey(canvas, m_state.hoverKey);
}

} // namespace orvo
