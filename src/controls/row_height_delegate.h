#pragma once
// Every row of a list or tree exactly as high as its view says, whatever the style would make
// of a row (styles pack rows without icons tightly enough to cut descenders).

#include <QAbstractItemView>
#include <QStyledItemDelegate>

#include <functional>
#include <utility>

namespace orvo {

class RowHeightDelegate : public QStyledItemDelegate {
public:
    RowHeightDelegate(QAbstractItemView* view, std::function<int()> rowHeight)
        : QStyledItemDelegate(view), m_rowHeight(std::move(rowHeight)) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), m_rowHeight()};
    }

private:
    std::function<int()> m_rowHeight;
};

} // namespace orvo
