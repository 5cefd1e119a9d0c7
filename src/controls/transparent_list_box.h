#pragma once
// CTransparentListBox: the list control of the skinned dialogs. It paints its rows itself over
// a picture of what lies behind it, draws each text with a drop shadow and, in some modes, an
// icon, and lets the user edit a row in place (double click on the selected row; Enter or
// leaving the editor confirms, Escape cancels, scrolling confirms first). It knows nothing of
// macros or profiles: it reports edits through its signals and the owner applies them.

#include "model/colour_model.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QString>

namespace orvo {

class ImageStore;

class CTransparentListBox : public QListWidget {
    Q_OBJECT
public:
    // What the rows hold, and so how they are drawn and edited.
    enum EditMode : int {
        kPlain = 0,
        kDelays = 1,    // macro events: press, release and delay icons; only delays are edited
        kFileNames = 2, // edited names keep a ".bin" extension
        kNames = 3,     // drawn over the parent's own pixels
        kProfiles = 4,  // highlight bar and profile icon, no background picture
    };
    static constexpr int kDelayTextIndent = 30;
    static constexpr QPoint kProfileIconOffset{240, 2};
    static constexpr ColorRef kProfileHighlight = 0xC3910B;
    static constexpr QPoint kBackgroundOrigin{7, 22}; // in the list background picture
    static constexpr int kMinDelay = 2;
    static constexpr int kMaxDelay = 60000;
    static constexpr int kEditorMargin = 2; // the editor overlaps the row above and below

    enum class Icon { None, Press, Release, Delay, Profile };
    struct Look {
        QString text; // as shown
        Icon icon = Icon::None;
    };
    // How a row's text is shown in a mode: in kDelays a key line loses its "dn" / "up" to
    // its icon.
    static Look LookOf(const QString& text, int editMode);

    explicit CTransparentListBox(const ImageStore* images = nullptr, QWidget* parent = nullptr);
    ~CTransparentListBox() override;

    // The main image folder, where the icons and the list background picture lie.
    void setImages(const ImageStore* images);
    void setEditMode(int mode);
    int editMode() const { return m_editMode; }
    // A sorted list puts a renamed row at its place in name order.
    void setSorted(bool sorted) { m_sorted = sorted; }

    // Font (weight 700) whose cell height is `height`, colours and shadow.
    void SetTextStyle(int height, const QString& face, ColorRef textColour, ColorRef selectedColour,
                      bool shadow, ColorRef shadowColour, int shadowOffset);
    const QFont& textFont() const { return m_font; }

    // Adds a row (at the end, or before `index`) with its data; returns its index.
    int addString(const QString& text, qulonglong data = 0);
    int insertString(int index, const QString& text, qulonglong data = 0);

    // Height of the text of the first row in the list's font, for the owner.
    int itemHeight() const { return m_itemHeight; }
    // Height every row takes on screen.
    int rowHeight() const;

    // The in-place edit. startEdit does what a double click on the selected row does.
    void startEdit();
    void endEdit(bool confirm);
    QLineEdit* editor() const { return m_editor; }
    int itemBeingEdited() const { return m_itemBeingEdited; }

    // Takes the picture of what lies behind the list again at the next paint.
    void invalidateBackground();

Q_SIGNALS:
    // Every start of an in-place edit, before anything else.
    void listEditBegin();
    // kDelays: (row, new delay 2..60000) for every confirmed edit, changed or not. Other
    // modes: (row before, row after) for a confirmed edit that changed the text.
    void listEditEnd(int first, int second);
    // A confirmed edit changed the text: the row's new index and its old text.
    void listItemChanged(int newIndex, const QString& oldText);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeBackground();
    void drawRow(QPainter& painter, int row, const QRect& rect, bool selected) const;
    void drawIcon(QPainter& painter, Icon icon, bool selected, const QRect& rect) const;
    int textHeight(const QString& text) const;
    int sortedIndexOf(const QString& text) const;
    void confirmBeforeScrolling();

    const ImageStore* m_images = nullptr;
    QPointer<QLineEdit> m_editor;
    int m_itemBeingEdited = -1;
    int m_startIndex = -1;
    int m_editMode = kPlain;
    bool m_sorted = false;
    int m_itemHeight = 25;
    QColor m_textColour;
    QColor m_selectedColour;
    QColor m_shadowColour{Qt::black};
    QFont m_font;
    QImage m_background;
    bool m_backgroundTaken = false;
    int m_shadowOffset = 3;
    bool m_shadow = false;
};

} // namespace orvo
