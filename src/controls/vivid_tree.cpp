#include "controls/vivid_tree.h"

#include "controls/draw_label.h"
#include "controls/image_store.h"
#include "controls/row_height_delegate.h"
#include "controls/skin_resources.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace orvo {

namespace {
// Room the tree leaves between an item's icon and its text.
constexpr int kIconTextGap = 3;

// Room above and below an item's text; the text is drawn one pixel inside its row.
constexpr int kTextRowMargin = 2;

QColor ToQColor(ColorRef c) {
    const Rgb rgb = ToRgb(c);
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace

VividTree::VividTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setItemDelegate(new RowHeightDelegate(this, [this] { return rowHeight(); }));
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every pixel is painted here; nothing needs erasing first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    // A picture background moves with the items; repaint it whole when they do.
    connect(this, &QTreeWidget::itemExpanded, this, [this] { viewport()->update(); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this] { viewport()->update(); });
}

void VividTree::LoadTreeImages(const ImageStore& images) {
    m_picture = images.image(kPressIconImage.toString());
    m_collapsed = images.image(kTreeCollapsedImage.toString());
    m_expanded = images.image(kTreeExpandedImage.toString());
    viewport()->update();
}

void VividTree::setBackgroundMode(Background mode) {
    m_mode = mode;
    viewport()->update();
}

void VividTree::setGradient(ColorRef start, ColorRef end, bool horizontal) {
    m_gradientStart = start;
    m_gradientEnd = end;
    m_horizontal = horizontal;
    viewport()->update();
}

void VividTree::setBackgroundPicture(const QImage& picture, bool tile) {
    m_picture = picture;
    m_tile = tile;
    viewport()->update();
}

void VividTree::setGlyphs(const QImage& collapsed, const QImage& expanded) {
    m_collapsed = collapsed;
    m_expanded = expanded;
    viewport()->update();
}

void VividTree::setShowSelectionAlways(bool on) {
    m_showSelectionAlways = on;
    viewport()->update();
}

int VividTree::rowHeight() const {
    return std::max(CellHeight(font()) + kTextRowMargin,
                    iconSize().isValid() ? iconSize().height() : 0);
}

QRect VividTree::itemTextRect(const QTreeWidgetItem* item) const {
    QRect r = visualItemRect(item);
    if (!r.isValid())
        return {};
    // The icon's place stays free: the glyphs are drawn there.
    const QSize icons = iconSize();
    if (icons.isValid() && !icons.isEmpty())
        r.setLeft(r.left() + icons.width() + kIconTextGap);
    return r.translated(kVividTextShift, 0);
}

const QImage& VividTree::glyphFor(const QTreeWidgetItem* item) const {
    return item->isExpanded() ? m_expanded : m_collapsed;
}

QRect VividTree::glyphRect(const QTreeWidgetItem* item) const {
    const QRect text = itemTextRect(item);
    if (text.isEmpty() || item->childCount() == 0)
        return {};
    const QImage& glyph = glyphFor(item);
    return {text.left() - glyph.width() - kVividGlyphGap, text.top() + kVividGlyphTop,
            glyph.width(), glyph.height()};
}

QRect VividTree::drawingArea() const {
    // The whole scrollable content, placed where the scroll bars have moved it.
    const QSize client = viewport()->size();
    const int width = std::max(client.width(), horizontalScrollBar()->maximum() + client.width());
    const int height = std::max(client.height(), verticalScrollBar()->maximum() + client.height());
    return {-horizontalOffset(), -verticalOffset(), width, height};
}

void VividTree::paintBackground(QPainter& p, const QRect& area) const {
    if (m_mode == Background::Solid) {
        p.fillRect(viewport()->rect(), ToQColor(kVividSolidBackground));
        return;
    }
    if (m_mode == Background::Picture && !m_picture.isNull()) {
        if (!m_tile) {
            p.drawImage(area, m_picture);
            return;
        }
        const int w = m_picture.width();
        const int h = m_picture.height();
        for (int i = 0; i <= area.width() / w; ++i) {
            for (int j = 0; j <= area.height() / h; ++j)
                p.drawImage(area.left() + i * w, area.top() + j * h, m_picture);
        }
        return;
    }
    const QPointF end = m_horizontal ? QPointF(area.right() + 1, area.top())
                                     : QPointF(area.left(), area.bottom() + 1);
    QLinearGradient gradient(area.topLeft(), end);
    gradient.setColorAt(0, ToQColor(m_gradientStart));
    gradient.setColorAt(1, ToQColor(m_gradientEnd));
    p.fillRect(area, gradient);
}

void VividTree::paintItem(QPainter& p, const QTreeWidgetItem* item, const QRect& area) const {
    QRect text = itemTextRect(item);
    if (text.isEmpty() || text.bottom() < 0 || text.top() >= viewport()->height())
        return;
    const bool showSelected = item->isSelected() && (hasFocus() || m_showSelectionAlways);
    if (showSelected)
        p.fillRect(QRect(0, text.top(), area.left() + area.width(), text.height()),
                   ToQColor(kVividSelectionBar));
    if (item->childCount() > 0) {
        const QRect glyph = glyphRect(item);
        p.drawImage(glyph.topLeft(), glyphFor(item));
    }
    text.adjust(0, 1, 0, -1);
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item->text(0));
}

void VividTree::paintEvent(QPaintEvent* /*event*/) {
    QImage canvas(viewport()->size(), QImage::Format_RGB32);
    {
        QPainter p(&canvas);
        p.setFont(font());
        const QRect area = drawingArea();
        paintBackground(p, area);
        p.setPen(ToQColor(kVividText));
        for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
            if (!(*it)->isHidden())
                paintItem(p, *it, area);
        }
    }
    QPainter(viewport()).drawImage(0, 0, canvas);
}

void VividTree::mousePressEvent(QMouseEvent* event) {
    // The glyphs sit in the icon's place, so a click on one toggles its item here.
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (QTreeWidgetItem* item = itemAt(at); item != nullptr && glyphRect(item).contains(at)) {
            item->setExpanded(!item->isExpanded());
            event->accept();
            return;
        }
    }
    QTreeWidget::mousePressEvent(event);
}

} // namespace orvo
