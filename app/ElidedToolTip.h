#pragma once
// A list line cut with "…" for want of room shows the whole line as its tooltip; a line that fits
// shows none.
#include <QStyledItemDelegate>

namespace lrf {

class ElidedToolTip : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace lrf
