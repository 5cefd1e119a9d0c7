#include "controls/transparent_list_box.h"

#include "controls/draw_label.h"
#include "controls/draw_png.h"
#include "controls/image_store.h"
#include "controls/row_height_delegate.h"
#include "controls/skin_resources.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace orvo {

namespace {

constexpr int kTextWeight = 700;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
constexpr int kMaxTypedDigits = 9; // enough for any delay, never overflows

QColor ColourOf(ColorRef c) {
    const Rgb rgb = ToRgb(c);
    return {rgb.r, rgb.g, rgb.b};
}

// A height given for a text is the font's cell height (ascent + descent): the largest pixel
// size whose cell fits.
QFont CellHeightFont(const QString& face, int height, int weight) {
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(weight));
    for (int pixels = std::max(height, 1); pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (CellHeight(font) <= height)
            return font;
    }
    font.setPixelSize(1);
    return font;
}

} // namespace

CTransparentListBox::Look CTransparentListBox::LookOf(const QString& text, int editMode) {
    Look look{text, Icon::None};
    if (editMode == kDelays) {
        if (text.contains(u"dn")) {
            look.icon = Icon::Press;
            look.text.remove(QStringLiteral("dn"));
        } else if (text.contains(u"up")) {
            look.icon = Icon::Release;
            look.text.remove(QStringLiteral("up"));
        } else if (text.contains(u"ms")) {
            look.icon = Icon::Delay;
        }
    } else if (editMode == kProfiles) {
        look.icon = Icon::Profile;
    }
    return look;
}

CTransparentListBox::CTransparentListBox(const ImageStore* images, QWidget* parent)
    : QListWidget(parent), m_images(images), m_textColour(palette().color(QPalette::Text)),
      m_selectedColour(palette().color(QPalette::HighlightedText)), m_font(font()) {
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    setItemDelegate(new RowHeightDelegate(this, [this] { return rowHeight(); }));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The scroll bar's own clicks and drags confirm an edit before the rows move.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int) {
        // Replacing the edited row resets the slider; the scroll still goes where it was asked.
        const int target = verticalScrollBar()->sliderPosition();
        confirmBeforeScrolling();
        verticalScrollBar()->setSliderPosition(target);
    });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this,
            &CTransparentListBox::confirmBeforeScrolling);
    connect(this, &QListWidget::itemSelectionChanged, viewport(), qOverload<>(&QWidget::update));
}

CTransparentListBox::~CTransparentListBox() = default;

void CTransparentListBox::setImages(const ImageStore* images) {
    m_images = images;
    invalidateBackground();
}

void CTransparentListBox::setEditMode(int mode) {
    m_editMode = mode;
    invalidateBackground();
}

void CTransparentListBox::SetTextStyle(int height, const QString& face, ColorRef textColour,
                                       ColorRef selectedColour, bool shadow, ColorRef shadowColour,
                                       int shadowOffset) {
    m_font = CellHeightFont(face, height, kTextWeight);
    m_textColour = ColourOf(textColour);
    m_selectedColour = ColourOf(selectedColour);
    m_shadow = shadow;
    m_shadowColour = ColourOf(shadowColour);
    m_shadowOffset = shadowOffset;
    if (count() > 0)
        m_itemHeight = textHeight(item(0)->text());
    doItemsLayout();
    viewport()->update();
}

int CTransparentListBox::textHeight(const QString& text) const {
    const QFontMetrics metrics(m_font);
    const QRect bounds = metrics.boundingRect(QRect(0, 0, 0x7FFF, 0), kTextFlags, text);
    return std::max(bounds.height(), metrics.height());
}

int CTransparentListBox::rowHeight() const {
    return textHeight(QStringLiteral("XYZ"));
}

int CTransparentListBox::addString(const QString& text, qulonglong itemData) {
    return insertString(m_sorted ? sortedIndexOf(text) : count(), text, itemData);
}

int CTransparentListBox::insertString(int index, const QString& text, qulonglong itemData) {
    if (count() == 0)
        m_itemHeight = textHeight(text);
    if (index < 0 || index > count())
        index = count();
    auto* row = new QListWidgetItem(text);
    row->setData(Qt::UserRole, itemData);
    insertItem(index, row);
    return index;
}

int CTransparentListBox::sortedIndexOf(const QString& text) const {
    for (int i = 0; i < count(); ++i) {
        if (QString::compare(item(i)->text(), text, Qt::CaseInsensitive) > 0)
            return i;
    }
    return count();
}

// ---- Painting -----------------------------------------------------------------------------

void CTransparentListBox::invalidateBackground() {
    m_backgroundTaken = false;
    viewport()->update();
}

void CTransparentListBox::takeBackground() {
    const QSize size = viewport()->size();
    if (m_background.size() != size) {
        m_background = QImage(size, QImage::Format_RGB32);
        m_background.fill(Qt::black);
        m_backgroundTaken = false;
    }
    // A profile list keeps its black picture.
    if (m_editMode == kProfiles || m_backgroundTaken)
        return;
    m_background.fill(Qt::black);
    if (m_editMode == kNames) {
        // The parent's own pixels at the list's place, without its child controls.
        if (QWidget* parent = parentWidget()) {
            const QPoint at = viewport()->mapTo(parent, QPoint(0, 0));
            parent->render(&m_background, QPoint(), QRegion(QRect(at, size)),
                           QWidget::DrawWindowBackground);
        }
    } else if (m_images) {
        QPainter painter(&m_background);
        DrawPngPart(painter, *m_images, kListBackgroundImage.toString(),
                    QRect(kBackgroundOrigin, size), QPoint(0, 0));
    }
    m_backgroundTaken = true;
}

void CTransparentListBox::paintEvent(QPaintEvent*) {
    takeBackground();
    QImage canvas = m_background.copy();
    QPainter painter(&canvas);
    const int height = rowHeight();
    const QModelIndex top = indexAt(QPoint(0, 0));
    for (int row = top.isValid() ? top.row() : count(); row < count(); ++row) {
        const QRect rect(0, visualItemRect(item(row)).top(), canvas.width(), height);
        if (rect.top() >= canvas.height())
            break;
        drawRow(painter, row, rect, item(row)->isSelected());
    }
    painter.end();
    QPainter(viewport()).drawImage(0, 0, canvas);
}

void CTransparentListBox::drawRow(QPainter& painter, int row, const QRect& rect,
                                  bool selected) const {
    const Look look = LookOf(item(row)->text(), m_editMode);
    painter.drawImage(rect.topLeft(), m_background, rect);
    QRect textRect = rect;
    if (m_editMode == kDelays)
        textRect.setLeft(rect.left() + kDelayTextIndent);
    painter.setFont(m_font);
    if (m_shadow) {
        painter.setPen(isEnabled() ? m_shadowColour : QColor(Qt::white));
        painter.drawText(textRect.translated(m_shadowOffset, m_shadowOffset), kTextFlags,
                         look.text);
    }
    if (m_editMode == kProfiles && selected)
        painter.fillRect(rect, ColourOf(kProfileHighlight));
    painter.setPen(!isEnabled() ? QColor(Qt::black) : selected ? m_selectedColour : m_textColour);
    painter.drawText(textRect, kTextFlags, look.text);
    drawIcon(painter, look.icon, selected, rect);
}

void CTransparentListBox::drawIcon(QPainter& painter, Icon icon, bool selected,
                                   const QRect& rect) const {
    if (!m_images || icon == Icon::None)
        return;
    QPoint at = rect.topLeft();
    QStringView name;
    switch (icon) {
    case Icon::Press:
        name = kPressIconImage;
        break;
    case Icon::Release:
        name = kReleaseIconImage;
        break;
    case Icon::Delay:
        name = kDelayIconImage;
        break;
    default:
        name = selected ? kProfileSelectedIconImage : kProfileIconImage;
        at += kProfileIconOffset;
        break;
    }
    DrawPng(painter, *m_images, name.toString(), at.x(), at.y());
}

// ---- In-place editing ---------------------------------------------------------------------

void CTransparentListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (!index.isValid() || index.row() != currentRow() || !visualRect(index).contains(at))
        return;
    const QString text = item(index.row())->text();
    // Key lines of a macro are not edited here.
    if (m_editMode == kDelays && (text.contains(u"up") || text.contains(u"dn")))
        return;
    startEdit();
}

void CTransparentListBox::startEdit() {
    endEdit(true);
    Q_EMIT listEditBegin();
    const int row = currentRow();
    if (row < 0 || !item(row)->isSelected())
        return;
    QString text = item(row)->text();
    if (m_editMode == kDelays)
        text.remove(QStringLiteral(" ms"));
    auto* editor = new QLineEdit(viewport());
    editor->setFont(m_font);
    editor->setGeometry(QRect(0, visualItemRect(item(row)).top(), viewport()->width(), rowHeight())
                            .adjusted(0, -kEditorMargin, 0, kEditorMargin));
    if (m_editMode == kDelays) {
        editor->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), editor));
        editor->setMaxLength(kMaxTypedDigits);
    }
    editor->setText(text);
    editor->selectAll();
    editor->installEventFilter(this);
    editor->show();
    editor->setFocus();
    m_editor = editor;
    m_itemBeingEdited = row;
    m_startIndex = row;
}

void CTransparentListBox::endEdit(bool confirm) {
    if (!m_editor)
        return;
    // Taken first: destroying the editor moves the focus, which must not end the edit again.
    QLineEdit* const editor = m_editor;
    m_editor = nullptr;
    const int row = m_itemBeingEdited;
    if (confirm && row >= 0 && row < count()) {
        const QString oldText = item(row)->text();
        QString newText = editor->text();
        if (m_editMode == kDelays) {
            const int value =
                static_cast<int>(std::clamp<qlonglong>(newText.toLongLong(), kMinDelay, kMaxDelay));
            newText = QString::number(value) + QStringLiteral(" ms");
            Q_EMIT listEditEnd(row, value);
        } else if (m_editMode == kFileNames && !newText.contains(u".bin")) {
            newText += QStringLiteral(".bin");
        }
        // The owner may have refilled the list while handling the end of a delay edit.
        if (row < count() && item(row)->text() == oldText && newText != oldText) {
            const QVariant oldData = item(row)->data(Qt::UserRole);
            delete takeItem(row);
            const int newRow = insertString(m_sorted ? sortedIndexOf(newText) : row, newText,
                                            oldData.toULongLong());
            m_itemBeingEdited = newRow;
            setCurrentRow(newRow);
            Q_EMIT listItemChanged(newRow, oldText);
            if (m_editMode >= kFileNames)
                Q_EMIT listEditEnd(m_startIndex, newRow);
        }
    }
    const bool hadFocus = editor->hasFocus();
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
    if (hadFocus)
        setFocus();
    m_itemBeingEdited = -1;
    viewport()->update();
}

bool CTransparentListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor)
        return QListWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (!enter && key != Qt::Key_Escape)
            break;
        // Enter and Escape end the edit and never reach the dialog.
        if (event->type() == QEvent::KeyPress)
            endEdit(enter);
        return true;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            endEdit(true);
        break;
    default:
        break;
    }
    return QListWidget::eventFilter(watched, event);
}

void CTransparentListBox::confirmBeforeScrolling() {
    if (!m_editor)
        return;
    setFocus();
    endEdit(true);
}

void CTransparentListBox::wheelEvent(QWheelEvent* event) {
    endEdit(true);
    QListWidget::wheelEvent(event);
    viewport()->update();
    event->accept();
}

void CTransparentListBox::scrollContentsBy(int dx, int dy) {
    confirmBeforeScrolling(); // scrolled by code: the editor would no longer cover its row
    QListWidget::scrollContentsBy(dx, dy);
    viewport()->update();
}

void CTransparentListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    endEdit(true);
    invalidateBackground();
}

void CTransparentListBox::moveEvent(QMoveEvent* event) {
    QListWidget::moveEvent(event);
    invalidateBackground();
}

} // namespace orvo
