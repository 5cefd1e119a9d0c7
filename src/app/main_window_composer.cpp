#include "app/main_window_composer.h"

#include "app/draw_label.h"
#include "app/lighting_panel.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "model/config_state.h"
#include "model/key_tables.h"

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

} // namespace

MainWindowComposer::MainWindowComposer(const ImageStore& images, const MainWindowState& state,
                                       ConfigState& config, LightingPanel& lighting)
    : m_images(images), m_state(state), m_config(config), m_lighting(lighting) {}

QImage MainWindowComposer::compose() {
    QImage picture = m_images.loadForCopy(kBackgroundImage.toString());
    if (picture.isNull())
        return picture;
    picture.detach(); // the store may share its cached copy
    QPainter canvas(&picture);

    for (const PlacedImage& logo : kLogoImages)
        DrawPng(canvas, m_images, logo.name.toString(), logo.at.x, logo.at.y);
    for (std::size_t i = 0; i < kTitleButtons.size(); ++i) {
        const HoverButton& b = kTitleButtons[i];
        DrawPng(canvas, m_images, (m_state.hoverFlags[i] ? b.over : b.normal).toString(), b.at.x,
                b.at.y);
    }
    DrawPng(canvas, m_images, kKeyboardImage.toString(), kKeyboardOrigin.x, kKeyboardOrigin.y);

    drawKeyboardOverlay(canvas);

    for (const PlacedImage& button : kBottomButtons)
        DrawPng(canvas, m_images, button.name.toString(), button.at.x, button.at.y);
    DrawLabel(canvas, kProfileLabel.text.toString(), kProfileLabel.at.x, kProfileLabel.at.y,
              kProfileLabel.height);

    m_lighting.draw(canvas);

    if (m_state.helpMenuOpen) {
        DrawPng(canvas, m_images, kHelpMenuImage.toString(), kHelpMenuAt.x, kHelpMenuAt.y);
        for (const PlacedText& t : kHelpMenuTexts)
            DrawLabel(canvas, t.text.toString(), t.at.x, t.at.y, t.height);
    }
    return picture;
}

void MainWindowComposer::drawKeyboardOverlay(QPainter& canvas) {
    const std::uint8_t effect = m_config.image.byte(field::lightingEffect);
    if (!m_state.diyMode)
        drawHighlights(canvas);
    else if (effect >= kFirstCustomEffect &&
             effect < kFirstCustomEffect + kCustomLightingTableCount)
        drawDiyKeys(canvas);
}

void MainWindowComposer::drawHighlights(QPainter& canvas) {
    // One decode for all the key copies of this composition.
    const QImage highlight = m_images.loadForCopy(kKeyHighlightImage.toString());
    const auto copyKey = [&](std::size_t key) {
        for (const InclusiveRect& part : KeyParts(key)) {
            const QRect source(QPoint(part.left, part.top), QPoint(part.right, part.bottom));
            DrawImageOpaque(canvas, highlight, source, ToWindow(part).topLeft());
        }
    };
    if (IsKey(m_state.hoverKey))
        copyKey(m_state.hoverKey);
    // The Win key is never shown as customised (the lock switch stands for it).
    m_config.customisedKeys[kWinKey] = 0;
    for (std::size_t key = 0; key < kKeyCount; ++key)
        if (m_config.customisedKeys[key])
            copyKey(key);
}

void MainWindowComposer::drawDiyKeys(QPainter& canvas) {
    const std::size_t table = m_config.image.byte(field::lightingEffect) - kFirstCustomEffect;
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
                              QColor(255 - r, 255 - g, 255 - b));
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
