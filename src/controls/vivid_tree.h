#pragma once
// VividTree: a tree that paints itself on a background of its own (a picture, a two-colour
// gradient or solid dark grey), with white item text, a full-width highlight bar under the
// selected item and its own expand and collapse glyphs. The key assignment dialog shows the
// function tree in it.

#include "model/colour_model.h"

#include <QImage>
#include <QTreeWidget>

namespace orvo {

class ImageStore;

inline constexpr ColorRef kVividGradientStart = 0xFFFFFF;
inline constexpr ColorRef kVividGradientEnd = 0xE0D5D5;
inline constexpr ColorRef kVividSolidBackground = 0x1E1E1E;
inline constexpr ColorRef kVividSelectionBar = 0xE0A900;
inline constexpr ColorRef kVividText = 0xFFFFFF;
// Item text sits this far right of where the tree would put it.
inline constexpr int kVividTextShift = 7;
// A glyph ends this far left of the text and starts this far below the item's top.
inline constexpr int kVividGlyphGap = 2;
inline constexpr int kVividGlyphTop = 4;

class VividTree : public QTreeWidget {
    Q_OBJECT
public:
    enum class Background { Picture = 0, Gradient = 1, Solid = 2 };

    explicit VividTree(QWidget* parent = nullptr);

    // Loads the background picture and the two glyphs from the skin, replacing earlier ones.
    void LoadTreeImages(const ImageStore& images);

    void setBackgroundMode(Background mode);
    Background backgroundMode() const { return m_mode; }
    void setGradient(ColorRef start, ColorRef end, bool horizontal);
    void setBackgroundPicture(const QImage& picture, bool tile);
    void setGlyphs(const QImage& collapsed, const QImage& expanded);
    // Shows the bar under the selected item even while another control has the focus.
    void setShowSelectionAlways(bool on);
    bool showSelectionAlways() const { return m_showSelectionAlways; }

    // Height of every row: the text's cell with a pixel above and below it (the text is drawn
    // that far inside its row), and at least the icons' height.
    int rowHeight() const;

    // Where an item's text is drawn, in viewport coordinates (empty when not shown).
    QRect itemTextRect(const QTreeWidgetItem* item) const;
    // Where an item's glyph is drawn (empty for an item without children).
    QRect glyphRect(const QTreeWidgetItem* item) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect drawingArea() const;
    void paintBackground(QPainter& p, const QRect& area) const;
    void paintItem(QPainter& p, const QTreeWidgetItem* item, const QRect& area) const;
    const QImage& glyphFor(const QTreeWidgetItem* item) const;

    QImage m_collapsed;
    QImage m_expanded;
    ColorRef m_gradientStart = kVividGradientStart;
    ColorRef m_gradientEnd = kVividGradientEnd;
    bool m_horizontal = true;
    Background m_mode = Background::Gradient;
    QImage m_picture;
    bool m_tile = false;
    bool m_showSelectionAlways = false;
};

} // namespace orvo
